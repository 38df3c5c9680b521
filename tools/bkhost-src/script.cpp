#include "script.h"

#include "script_text.h"
#include "test_leaks.h"

namespace {

// When a command may appear.
enum class SWhen {
    First,            // before every other command
    BeforeFirstLoad,  // before the first load or start
    Unloaded,         // while no library is loaded
    Anytime,
};

struct SCommandRule {
    std::string_view name;
    int args;          // the last one is the rest of the line
    bool block;
    bool emptyLast;    // the last argument may be empty
    SWhen when;
};

constexpr SCommandRule kCommands[] = {
    {"lang", 1, false, false, SWhen::First},
    {"host-version", 1, false, true, SWhen::Unloaded},
    {"host-without-setstatus", 0, false, false, SWhen::BeforeFirstLoad},
    {"library", 1, false, false, SWhen::Unloaded},
    {"file", 1, true, false, SWhen::Anytime},
    {"file-raw", 1, true, false, SWhen::Anytime},
    {"delete", 1, false, false, SWhen::Anytime},
    {"mkdir", 1, false, false, SWhen::Anytime},
    {"lock", 1, false, false, SWhen::Anytime},
    {"unlock", 1, false, false, SWhen::Anytime},
    {"volume", 2, false, false, SWhen::BeforeFirstLoad},
    {"away", 1, false, false, SWhen::Anytime},
    {"back", 1, false, false, SWhen::Anytime},
    {"fill", 1, false, false, SWhen::Anytime},
    {"unfill", 1, false, false, SWhen::Anytime},
    {"settings", 3, false, true, SWhen::Anytime},
    {"settings-beside", 3, false, true, SWhen::Anytime},
    {"registry", 2, false, true, SWhen::Anytime},
    {"mailbox", 1, false, true, SWhen::Anytime},
    {"folder", 1, false, true, SWhen::Anytime},
    {"mail", 1, false, false, SWhen::Anytime},
    {"compose", 1, false, false, SWhen::Anytime},
    {"charset", 1, false, false, SWhen::Anytime},
    {"body", 1, true, false, SWhen::Anytime},
    {"no-body", 0, false, false, SWhen::Anytime},
    {"serialize", 1, false, false, SWhen::Anytime},
    {"header-label", 1, false, true, SWhen::Anytime},
    {"host-raises", 1, false, false, SWhen::Anytime},
    {"key", 2, false, false, SWhen::Anytime},
    {"answer", 1, false, false, SWhen::Anytime},
    {"sleep", 1, false, false, SWhen::Anytime},
    {"load", 0, false, false, SWhen::Anytime},
    {"start", 0, false, false, SWhen::Anytime},
    {"exit", 0, false, false, SWhen::Anytime},
    {"exit-only", 0, false, false, SWhen::Anytime},
    {"unload", 0, false, false, SWhen::Anytime},
    {"window", 1, false, false, SWhen::Anytime},
    {"on-box", 1, true, false, SWhen::Anytime},
    {"menu", 1, false, false, SWhen::Anytime},
    {"command", 1, false, false, SWhen::Anytime},
    {"open-compose", 1, false, false, SWhen::Anytime},
    {"outgoing", 1, false, false, SWhen::Anytime},
    {"open-mail", 0, false, false, SWhen::Anytime},
    {"info", 0, false, false, SWhen::Anytime},
    {"setup", 0, false, false, SWhen::Anytime},
    {"setup-dialog", 0, true, false, SWhen::Anytime},
    {"send-check", 0, true, false, SWhen::Anytime},
    {"other-exports", 0, false, false, SWhen::Anytime},
    {"print", 1, false, false, SWhen::Anytime},
    {"print-body", 0, false, false, SWhen::Anytime},
    {"print-file", 1, false, false, SWhen::Anytime},
    {"expect", 1, false, false, SWhen::Anytime},
    {"expect-result", 1, false, false, SWhen::Anytime},
    {"expect-box", 1, false, true, SWhen::Anytime},
    {"expect-no-box", 0, false, false, SWhen::Anytime},
    {"expect-body", 0, true, false, SWhen::Anytime},
    {"expect-file", 1, true, false, SWhen::Anytime},
    {"expect-no-file", 1, false, false, SWhen::Anytime},
    {"expect-sender-view", 1, false, true, SWhen::Anytime},
    {"expect-info", 1, false, false, SWhen::Anytime},
    {"expect-menu", 1, false, false, SWhen::Anytime},
    {"resources-mark", 0, false, false, SWhen::Anytime},
    {"expect-resources-steady", 5, false, false, SWhen::Anytime},
    {"leak-for-test", 2, false, false, SWhen::Anytime},
};

// The allowances of expect-resources-steady: from 0 to far beyond any count.
constexpr long long kMostAllowed = 999999999999LL;

const SCommandRule* FindCommand(std::string_view name) {
    for (const SCommandRule& rule : kCommands)
        if (rule.name == name) return &rule;
    return nullptr;
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool CheckEscapes(std::string_view text, std::string* error) {
    SScriptText ignored;
    return ExpandScriptText(text, true, SScriptPaths{}, &ignored, error);
}

bool CheckInteger(std::string_view text, long long low, long long high, std::string* error) {
    long long value = 0;
    if (!ParseInteger(text, &value) || value < low || value > high) {
        *error = "\"" + std::string(text) + "\" is not a number from " + std::to_string(low) +
                 " to " + std::to_string(high);
        return false;
    }
    return true;
}

constexpr long long kComposeWindowCount = 4;
constexpr long long kIntMin = -2147483647LL - 1;
constexpr long long kIntMax = 2147483647LL;

// Checks what a command's arguments must look like.
bool CheckArguments(const SScriptCommand& command, std::string* error) {
    const std::string& name = command.name;
    const std::vector<std::string>& args = command.args;
    std::string header, value;
    if (name == "lang") {
        if (args[0] != "en" && args[0] != "ja") {
            *error = "lang is en or ja";
            return false;
        }
    } else if (name == "sleep") {
        return CheckInteger(args[0], 0, 600000, error);
    } else if (name == "menu" || name == "open-compose" || name == "outgoing" ||
               name == "expect-result") {
        return CheckInteger(args[0], kIntMin, kIntMax, error);
    } else if (name == "window") {
        return CheckInteger(args[0], 1, kComposeWindowCount, error);
    } else if (name == "charset") {
        return CheckInteger(args[0], 1, 65535, error);
    } else if (name == "mail" || name == "compose" || name == "expect") {
        if (!SplitNamedValue(args[0], &header, &value) || header.empty()) {
            *error = "write HEADER: VALUE";
            return false;
        }
        if (name != "expect") return CheckEscapes(value, error);
    } else if (name == "registry") {
        if (args[0] == "AddrInputFmt") return CheckInteger(args[1], kIntMin, 4294967295LL, error);
        if (args[0] == "Citation") return CheckEscapes(args[1], error);
        *error = "the host's registry values are AddrInputFmt and Citation";
        return false;
    } else if (name == "key") {
        if (args[0] != "ctrl" || (args[1] != "down" && args[1] != "up")) {
            *error = "write key ctrl down or key ctrl up";
            return false;
        }
    } else if (name == "host-raises") {
        if (args[0] != "BKA_SerializeRcpts" && args[0] != "BKA_GetDataFolder" &&
            args[0] != "BKA_GetCurrentFolder") {
            *error = "the host can raise from BKA_SerializeRcpts, BKA_GetDataFolder and BKA_GetCurrentFolder";
            return false;
        }
    } else if (name == "answer") {
        if (args[0] != "OK" && args[0] != "Cancel" && args[0] != "Yes" && args[0] != "No") {
            *error = "the answers are OK, Cancel, Yes and No";
            return false;
        }
    } else if (name == "serialize") {
        if (!SplitSerializeRule(args[0], &header, &value)) {
            *error = "write serialize INPUT => OUTPUT";
            return false;
        }
        return CheckEscapes(value, error);
    } else if (name == "expect-info") {
        if (!SplitNamedValue(args[0], &header, &value) ||
            (header != "name" && header != "vendor" && header != "version" &&
             header != "description")) {
            *error = "write expect-info name|vendor|version|description: VALUE";
            return false;
        }
    } else if (name == "expect-menu") {
        if (!SplitNamedValue(args[0], &header, &value)) {
            *error = "write expect-menu TYPE: ITEMS";
            return false;
        }
        return CheckInteger(header, kIntMin, kIntMax, error);
    } else if (name == "expect-resources-steady") {
        for (const std::string& allowance : args)
            if (!CheckInteger(allowance, 0, kMostAllowed, error)) return false;
    } else if (name == "leak-for-test") {
        SResourceKind kind;
        if (!ParseLeakKind(args[0], &kind)) {
            *error = "the kinds are handle, gdi, window, thread and kib";
            return false;
        }
        return CheckInteger(args[1], 1, LeakLimit(kind), error);
    } else if (name == "settings" || name == "settings-beside") {
        if (args[0].empty() || args[1].empty()) {
            *error = "write " + name + " SECTION KEY VALUE";
            return false;
        }
    }
    return true;
}

// Splits the text after the command name into the command's arguments.
bool SplitArguments(const SCommandRule& rule, std::string_view rest, bool hadSpace,
                    std::vector<std::string>* args, std::string* error) {
    if (rule.args == 0) {
        if (hadSpace) {
            *error = std::string(rule.name) + " takes no argument";
            return false;
        }
        return true;
    }
    for (int i = 0; i + 1 < rule.args; ++i) {
        size_t space = rest.find(' ');
        if (space == std::string_view::npos) {
            if (rule.emptyLast && i + 2 == rule.args && !rest.empty()) {
                args->emplace_back(rest);
                rest = {};
                break;
            }
            *error = std::string(rule.name) + " needs " + std::to_string(rule.args) + " arguments";
            return false;
        }
        args->emplace_back(rest.substr(0, space));
        rest.remove_prefix(space + 1);
    }
    if (rest.empty() && !rule.emptyLast) {
        *error = std::string(rule.name) + " needs an argument";
        return false;
    }
    args->emplace_back(rest);
    return true;
}

std::string At(int line, std::string_view reason) {
    return "line " + std::to_string(line) + ": " + std::string(reason);
}

}  // namespace

bool ParseInteger(std::string_view text, long long* value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 12) return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        result = result * 10 + (text[i] - '0');
    }
    *value = negative ? -result : result;
    return true;
}

bool SplitNamedValue(std::string_view text, std::string* name, std::string* value) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    name->assign(text.substr(0, colon));
    std::string_view rest = text.substr(colon + 1);
    if (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
    value->assign(rest);
    return true;
}

bool SplitSerializeRule(std::string_view text, std::string* input, std::string* output) {
    constexpr std::string_view kArrow = " => ";
    size_t arrow = text.find(kArrow);
    if (arrow == std::string_view::npos) return false;
    input->assign(text.substr(0, arrow));
    output->assign(text.substr(arrow + kArrow.size()));
    return true;
}

namespace {

// What the commands so far have done to the library, for the checks of
// load, start, exit, exit-only and unload.
struct SParseState {
    bool loaded = false;
    bool started = false;
    bool everLoaded = false;
    bool exitedOnly = false;   // exit-only ran, unload has not
    bool marked = false;
};

// Commands an on-box block may not hold: they cannot run inside a box.
bool AllowedInBox(const SCommandRule& rule) {
    return rule.when == SWhen::Anytime && rule.name != "on-box" && rule.name != "load" &&
           rule.name != "start";
}

// The order rules of the library's life. An on-box block's commands count
// where the block is written: a block that does not fire fails the run.
bool CheckLifecycle(const SScriptCommand& command, SParseState* state, std::string* error) {
    const std::string& name = command.name;
    if (state->exitedOnly && (name == "load" || name == "start" || name == "exit")) {
        *error = At(command.line, name + ": the library had exit-only (unload first)");
        return false;
    }
    if ((name == "load" && state->loaded) || (name == "start" && state->started)) {
        *error = At(command.line, name + ": the library is " + (state->started ? "started" : "loaded") +
                                      " already (exit first)");
        return false;
    }
    if ((name == "exit" || name == "exit-only") && !state->loaded) {
        *error = At(command.line, name + ": nothing is loaded");
        return false;
    }
    if (name == "exit-only" && state->exitedOnly) {
        *error = At(command.line, "exit-only: the library had exit-only already");
        return false;
    }
    if (name == "unload" && !state->exitedOnly) {
        *error = At(command.line, "unload comes after exit-only");
        return false;
    }
    if (name == "load" || name == "start") state->loaded = state->everLoaded = true;
    if (name == "start") state->started = true;
    if (name == "exit") state->loaded = state->started = false;
    if (name == "exit-only") {
        state->exitedOnly = true;
        state->started = false;
    }
    if (name == "unload") state->loaded = state->exitedOnly = false;
    return true;
}

// Parses commands from lines[*i] on. At the top level it runs to the end;
// in an on-box block (nested) it stops after the line holding only "."
// that closes the block, which opened on line opened.
bool ParseCommands(const std::vector<std::string_view>& lines, size_t* i, bool nested, int opened,
                   SParseState* state, SScript* script, std::vector<SScriptCommand>* out,
                   std::string* error) {
    for (; *i < lines.size(); ++*i) {
        int number = static_cast<int>(*i) + 1;
        std::string_view line = lines[*i];
        if (nested && line == ".") return true;
        if (IsBlank(line) || line[0] == '#') continue;

        size_t space = line.find(' ');
        std::string_view name = line.substr(0, space);
        std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        const SCommandRule* rule = FindCommand(name);
        if (!rule) {
            *error = At(number, "unknown command \"" + std::string(name) + "\"");
            return false;
        }
        if (nested && !AllowedInBox(*rule)) {
            *error = At(number, std::string(name) + " cannot stand in an on-box block");
            return false;
        }
        SScriptCommand command;
        command.line = number;
        command.name = std::string(name);
        std::string reason;
        if (!SplitArguments(*rule, rest, space != std::string_view::npos, &command.args, &reason)) {
            *error = At(number, reason);
            return false;
        }
        if (command.name == "on-box") {
            // Its block holds commands, which may have blocks of their own.
            command.hasBlock = true;
            ++*i;
            if (!ParseCommands(lines, i, true, number, state, script, &command.nested, error))
                return false;
        } else if (rule->block) {
            command.hasBlock = true;
            size_t j = *i + 1;
            while (j < lines.size() && lines[j] != ".") command.block.emplace_back(lines[j++]);
            if (j == lines.size()) {
                *error = At(number, "the block is not closed by a line holding only \".\"");
                return false;
            }
            if (command.name == "setup-dialog") {
                // Dialog actions, not text: checked as actions.
                if (!ParseDialogBlock(command.block, number + 1, &command.actions, error))
                    return false;
            } else if (command.name == "send-check") {
                if (!ParseSendCheckBlock(command.block, number + 1, &command.sendCheck, error))
                    return false;
            } else {
                SScriptText ignored;
                for (size_t k = 0; k < command.block.size(); ++k) {
                    if (!ExpandBlock({command.block[k]}, SScriptPaths{}, &ignored, &reason)) {
                        *error = At(number + 1 + static_cast<int>(k), reason);
                        return false;
                    }
                }
            }
            *i = j;
        }

        switch (rule->when) {
        case SWhen::First:
            if (!script->commands.empty()) {
                *error = At(number, command.name + " must come before any other command");
                return false;
            }
            break;
        case SWhen::BeforeFirstLoad:
            if (state->everLoaded) {
                *error = At(number, command.name + " must come before load and start");
                return false;
            }
            break;
        case SWhen::Unloaded:
            if (state->loaded) {
                *error = At(number, command.name + " must come while the library is not loaded");
                return false;
            }
            break;
        case SWhen::Anytime:
            break;
        }
        if (!CheckArguments(command, &reason)) {
            *error = At(number, reason);
            return false;
        }
        if (!CheckLifecycle(command, state, error)) return false;
        if (command.name == "expect-resources-steady" && !state->marked) {
            *error = At(number, "expect-resources-steady needs a resources-mark before it");
            return false;
        }
        if (command.name == "resources-mark") state->marked = true;
        if (command.name == "lang") script->japanese = command.args[0] == "ja";
        if (command.name == "host-without-setstatus") script->withoutSetStatus = true;
        out->push_back(std::move(command));
    }
    if (nested) {
        *error = At(opened, "the block is not closed by a line holding only \".\"");
        return false;
    }
    return true;
}

}  // namespace

bool ParseScript(std::string_view text, SScript* script, std::string* error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    SParseState state;
    size_t i = 0;
    return ParseCommands(lines, &i, false, 0, &state, script, &script->commands, error);
}
