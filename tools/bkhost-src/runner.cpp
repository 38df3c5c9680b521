#include "runner.h"

#include "codepage.h"
#include "file_faults.h"
#include "file_ops.h"
#include "host_memory.h"
#include "host_state.h"
#include "message_boxes.h"
#include "transcript.h"
#include "watchdog.h"

namespace {

// How long one command may take before the run is given up.
constexpr unsigned kCommandTimeoutMs = 60000;

}  // namespace

SRunner::SRunner(const SScript& script, const SScriptPaths& paths)
    : script_(script), paths_(paths) {
    bool away = false;
    for (const SScriptCommand& command : script.commands) away = away || command.name == "away";
    WantFileFaults(away);
}

int SRunner::Run() {
    for (const SScriptCommand& command : script_.commands) {
        SetCurrentLine(command.line);
        if (!Execute(command)) break;
    }
    if (!scriptError_) Finish();
    PrintLine(RunFailed() || scriptError_ ? "failed" : "passed");
    if (scriptError_) return kRunNotRun;
    return RunFailed() ? kRunFailed : kRunPassed;
}

bool SRunner::Execute(const SScriptCommand& command) {
    unsigned timeout = kCommandTimeoutMs;
    long long ms = 0;
    if (command.name == "sleep" && ParseInteger(command.args[0], &ms))
        timeout += static_cast<unsigned>(ms);
    // A dialog block may wait for windows to close, each wait up to a minute.
    for (const SDialogAction& action : command.actions)
        if (action.verb == SDialogVerb::WaitClosed || action.verb == SDialogVerb::CancelDialog ||
            action.verb == SDialogVerb::OkDialog)
            timeout += kCommandTimeoutMs;
    ArmWatchdog(timeout, command.name);
    bool handled = false;
    bool ok = SetUp(command, &handled);
    if (ok && !handled) ok = Call(command, &handled);
    if (ok && !handled) ok = Check(command, &handled);
    if (ok && !handled) ok = Resources(command, &handled);
    DisarmWatchdog();
    if (ok && !handled) return ScriptError(command.line, "command not carried out: " + command.name);
    return ok;
}

void SRunner::Finish() {
    int end = script_.commands.empty() ? 0 : script_.commands.back().line;
    SetCurrentLine(end);
    if (library_.Loaded()) {
        ArmWatchdog(kCommandTimeoutMs, "the exit at the end of the script");
        SScriptCommand exit;
        exit.line = end;
        exit.name = "exit";
        bool handled = false;
        Call(exit, &handled);
        DisarmWatchdog();
    }
    for (const SUnusedAnswer& unused : UnusedAnswers())
        PrintFail(unused.line, "a message box to answer " + unused.answer, "none");
    if (size_t left = HostHeap().Outstanding()) {
        MarkFailed();
        PrintLine("host texts not freed: " + std::to_string(left));
    }
}

bool SRunner::ScriptError(int line, const std::string& message) {
    scriptError_ = true;
    PrintLine("error line " + std::to_string(line) + ": " + message);
    return false;
}

bool SRunner::Text(const SScriptCommand& command, const std::string& arg, bool escapes,
                   unsigned codePage, std::string* out) {
    SScriptText text;
    std::string error;
    if (!ExpandScriptText(arg, escapes, paths_, &text, &error))
        return ScriptError(command.line, error);
    if (!RenderScriptText(text, codePage, out))
        return ScriptError(command.line, "\"" + arg + "\" cannot be written in code page " +
                                             std::to_string(codePage));
    return true;
}

bool SRunner::Block(const SScriptCommand& command, unsigned codePage, bool dropFinalLineEnd,
                    std::string* out) {
    SScriptText text;
    std::string error;
    if (!ExpandBlock(command.block, paths_, &text, &error)) return ScriptError(command.line, error);
    if (dropFinalLineEnd) text.DropFinalLineEnd();
    if (!RenderScriptText(text, codePage, out))
        return ScriptError(command.line,
                           "the block cannot be written in code page " + std::to_string(codePage));
    return true;
}

std::string SRunner::Path(const std::string& arg) const {
    SScriptText text;
    std::string error;
    ExpandScriptText(arg, false, paths_, &text, &error);
    return ResolveScriptPath(text.Utf8(), paths_.data);
}

unsigned SRunner::HeldCodePage() const {
    return TheHost().compose.Utf8() ? kUtf8CodePage : AnsiCodePage();
}

std::string SRunner::HeldToUtf8(const std::string& held) const {
    return TheHost().compose.Utf8() ? held : Printable(held);
}

std::string SRunner::SettingsFile(bool beside) const {
    std::string base = libraryName_;
    size_t dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
    if (beside) return paths_.plugins + "\\" + base + ".ini";
    return paths_.appdata + "\\Tarnwick\\Halyard\\" + base + ".ini";
}
