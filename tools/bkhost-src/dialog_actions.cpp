#include "dialog_actions.h"

#include "script.h"

namespace {

// How an action's words look after its name.
enum class SShape {
    None,        // ok
    Id,          // click ID
    IdSwitch,    // check ID on|off, expect-enabled ID yes|no
    IdRest,      // type ID TEXT (TEXT may be empty)
    IdIndex,     // select ID INDEX
    IdColon,     // expect-text ID: TEXT
    Rest,        // wait-closed TITLE
    OptionalRest,
};

struct SActionRule {
    std::string_view name;
    SDialogVerb verb;
    SShape shape;
    std::string_view on, off;   // the two words of IdSwitch
};

constexpr SActionRule kActions[] = {
    {"click", SDialogVerb::Click, SShape::Id, {}, {}},
    {"check", SDialogVerb::Check, SShape::IdSwitch, "on", "off"},
    {"type", SDialogVerb::Type, SShape::IdRest, {}, {}},
    {"select", SDialogVerb::Select, SShape::IdIndex, {}, {}},
    {"token", SDialogVerb::Token, SShape::OptionalRest, {}, {}},
    {"token-cancel", SDialogVerb::TokenCancel, SShape::None, {}, {}},
    {"choose-file", SDialogVerb::ChooseFile, SShape::Rest, {}, {}},
    {"answer", SDialogVerb::Answer, SShape::Rest, {}, {}},
    {"wait-closed", SDialogVerb::WaitClosed, SShape::Rest, {}, {}},
    {"cancel-dialog", SDialogVerb::CancelDialog, SShape::Rest, {}, {}},
    {"ok-dialog", SDialogVerb::OkDialog, SShape::Rest, {}, {}},
    {"expect-enabled", SDialogVerb::ExpectEnabled, SShape::IdSwitch, "yes", "no"},
    {"expect-checked", SDialogVerb::ExpectChecked, SShape::IdSwitch, "yes", "no"},
    {"expect-text", SDialogVerb::ExpectText, SShape::IdColon, {}, {}},
    {"expect-list", SDialogVerb::ExpectList, SShape::IdColon, {}, {}},
    {"expect-title", SDialogVerb::ExpectTitle, SShape::Rest, {}, {}},
    {"screenshot", SDialogVerb::Screenshot, SShape::Rest, {}, {}},
    {"ok", SDialogVerb::Ok, SShape::None, {}, {}},
    {"cancel", SDialogVerb::Cancel, SShape::None, {}, {}},
};

bool ParseNumber(std::string_view text, long long high, int* value) {
    long long number = 0;
    if (text.empty() || text[0] == '+' || text[0] == '-' || !ParseInteger(text, &number) ||
        number > high)
        return false;
    *value = static_cast<int>(number);
    return true;
}

// A file name for a picture: letters, digits, "-", "_" and ".", not
// starting with a dot, so it stays inside the pictures' folder.
bool IsPictureName(std::string_view name) {
    if (name.empty() || name[0] == '.') return false;
    for (char c : name) {
        bool fine = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.';
        if (!fine) return false;
    }
    return true;
}

bool ParseId(std::string_view word, SDialogAction* action, std::string* error) {
    if (ParseNumber(word, 65535, &action->id)) return true;
    *error = "\"" + std::string(word) + "\" is not a control identifier (0 to 65535)";
    return false;
}

}  // namespace

bool ParseDialogAction(std::string_view line, SDialogAction* action, std::string* error) {
    size_t space = line.find(' ');
    std::string_view name = line.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    const SActionRule* rule = nullptr;
    for (const SActionRule& candidate : kActions)
        if (candidate.name == name) rule = &candidate;
    if (!rule) {
        *error = "unknown dialog action \"" + std::string(name) + "\"";
        return false;
    }
    action->verb = rule->verb;
    action->written = std::string(line);
    const std::string usage = "write " + std::string(name);
    size_t gap = rest.find(' ');
    std::string_view first = rest.substr(0, gap);
    std::string_view after = gap == std::string_view::npos ? std::string_view() : rest.substr(gap + 1);

    switch (rule->shape) {
    case SShape::None:
        if (space != std::string_view::npos) {
            *error = std::string(name) + " takes no argument";
            return false;
        }
        return true;
    case SShape::Id:
        if (gap != std::string_view::npos) {
            *error = usage + " ID";
            return false;
        }
        return ParseId(first, action, error);
    case SShape::IdSwitch:
        if (!ParseId(first, action, error)) return false;
        if (after != rule->on && after != rule->off) {
            *error = usage + " ID " + std::string(rule->on) + " or " + usage + " ID " +
                     std::string(rule->off);
            return false;
        }
        action->yes = after == rule->on;
        return true;
    case SShape::IdRest:
        // "type ID" with nothing after it empties the field.
        action->text = std::string(after);
        return ParseId(first, action, error);
    case SShape::IdIndex:
        if (!ParseId(first, action, error)) return false;
        if (!ParseNumber(after, 32767, &action->index)) {
            *error = usage + " ID INDEX (an item number from 0)";
            return false;
        }
        return true;
    case SShape::IdColon: {
        size_t colon = rest.find(':');
        if (colon == std::string_view::npos) {
            *error = usage + " ID: TEXT";
            return false;
        }
        std::string id, value;
        SplitNamedValue(rest, &id, &value);
        action->text = value;
        return ParseId(id, action, error);
    }
    case SShape::Rest:
    case SShape::OptionalRest:
        if (rest.empty() && rule->shape == SShape::Rest) {
            *error = std::string(name) + " needs an argument";
            return false;
        }
        action->text = std::string(rest);
        break;
    }

    if (rule->verb == SDialogVerb::Answer && rest != "OK" && rest != "Cancel" && rest != "Yes" &&
        rest != "No") {
        *error = "the answers are OK, Cancel, Yes and No";
        return false;
    }
    if (rule->verb == SDialogVerb::Screenshot && !IsPictureName(rest)) {
        *error = "a picture's name holds letters, digits, \"-\", \"_\" and \".\"";
        return false;
    }
    return true;
}

bool ParseDialogBlock(const std::vector<std::string>& block, int firstLine,
                      std::vector<SDialogAction>* actions, std::string* error) {
    bool ended = false;
    for (size_t i = 0; i < block.size(); ++i) {
        const std::string& line = block[i];
        int number = firstLine + static_cast<int>(i);
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        const std::string at = "line " + std::to_string(number) + ": ";
        if (ended) {
            *error = at + "ok or cancel ends the block; nothing may follow";
            return false;
        }
        SDialogAction action;
        if (!ParseDialogAction(line, &action, error)) {
            *error = at + *error;
            return false;
        }
        action.line = number;
        ended = action.verb == SDialogVerb::Ok || action.verb == SDialogVerb::Cancel;
        actions->push_back(std::move(action));
    }
    if (!ended) {
        SDialogAction cancel;   // not written, so not printed
        cancel.line = firstLine + static_cast<int>(block.size());
        cancel.verb = SDialogVerb::Cancel;
        actions->push_back(std::move(cancel));
    }
    return true;
}
