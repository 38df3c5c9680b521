// Calls into the plug-in, each printing what the host saw.
#include <cstring>
#include <optional>

#include "codepage.h"
#include "dialog_driver.h"
#include "host_menus.h"
#include "host_state.h"
#include "host_windows.h"
#include "runner.h"
#include "transcript.h"

namespace {

constexpr unsigned char kGuardByte = 0xA5;
constexpr size_t kGuardSize = 64;
constexpr int kDropCopy = 1;   // DROPEFFECT_COPY

// The information record with a guard behind it, to see writes past its end.
struct SGuardedInfo {
    SPluginInfo info;
    unsigned char guard[kGuardSize];
};

std::string Field(const char* field, size_t size, const char* what) {
    if (!std::memchr(field, 0, size)) {
        Complain(std::string("BKC_OnPlugInInfo left the ") + what + " field without its terminating NUL");
        return Printable(std::string_view(field, size));
    }
    return Printable(field);
}

// Whether the library exports the function; a FAIL line when not.
template <typename Function>
bool Have(int line, Function function, const char* name) {
    if (function) return true;
    PrintFail(line, std::string("the export ") + name, "none");
    return false;
}

HWND MenuWindow(int type) {
    const SHostState& host = TheHost();
    return type >= 10 ? host.compose.window : host.mainWindow;
}

}  // namespace

bool SRunner::LoadPlugin(int line) {
    SetCurrentLine(line);
    std::string path;
    if (!Utf8ToCodePage(paths_.plugins + "\\" + libraryName_, AnsiCodePage(), &path))
        return ScriptError(line, "the library path cannot be written in the code page");
    bool loaded = IntoPlugin("DllMain", [&] { return library_.Load(path); });
    ApplyKeyState(false);
    exitedOnly_ = unloadPending_ = false;
    return loaded;
}

void SRunner::UnloadPlugin() {
    IntoPlugin("DllMain", [&] { library_.Unload(); });
    // The procedures pointed into the library that is gone now.
    TheHost().commands.clear();
    exitedOnly_ = unloadPending_ = false;
}

void SRunner::SettleUnload() {
    if (unloadPending_ && CallDepth() == 0) UnloadPlugin();
}

void SRunner::CallExit(const SScriptCommand& command) {
    if (!Have(command.line, library_.Exports().OnExit, "BKC_OnExit")) return;
    int result = IntoPlugin("BKC_OnExit", [&] { return library_.Exports().OnExit(); });
    EndCall(result);
    PrintLine("exit -> " + std::to_string(result));
}

bool SRunner::Unload(const SScriptCommand& command) {
    if (!exitedOnly_) return ScriptError(command.line, "unload comes after exit-only");
    PrintLine("unload");
    // The call that shows a box is still running in the library: it goes
    // once that call has returned.
    if (CallDepth() > 0) unloadPending_ = true;
    else UnloadPlugin();
    return true;
}

bool SRunner::NeedLoaded(const SScriptCommand& command) {
    if (library_.Loaded()) return true;
    PrintFail(command.line, "a loaded library for " + command.name, "none");
    return false;
}

void SRunner::BeginCall() { ApplyKeyState(TheHost().ctrlDown); }

void SRunner::EndCall(int result) {
    lastResult_ = result;
    SettleUnload();
}

bool SRunner::Call(const SScriptCommand& command, bool* handled) {
    *handled = true;
    const std::string& name = command.name;
    const SPluginExports& bkc = library_.Exports();
    SHostState& host = TheHost();
    long long number = 0;
    if (!command.args.empty()) ParseInteger(command.args[0], &number);
    int n = static_cast<int>(number);

    if (name == "load") {
        PrintLine(LoadPlugin(command.line) ? "load" : "load refused");
        return !scriptError_;
    }
    if (name == "start") {
        if (!library_.Loaded() && !LoadPlugin(command.line)) {
            if (scriptError_) return false;
            PrintLine("load refused");
            return true;
        }
        if (!Have(command.line, bkc.OnStart, "BKC_OnStart")) return true;
        int result = IntoPlugin("BKC_OnStart", [&] { return bkc.OnStart(); });
        EndCall(result);
        PrintLine("start -> " + std::to_string(result));
        return true;
    }
    if (name == "exit" || name == "exit-only") {
        if (!NeedLoaded(command)) return true;
        if (exitedOnly_)
            return ScriptError(command.line, name + ": the library had exit-only (unload first)");
        CallExit(command);
        if (name == "exit-only") exitedOnly_ = true;
        // The host quit inside a box: the library goes once the call that
        // shows the box has returned.
        else if (CallDepth() > 0) unloadPending_ = true;
        else UnloadPlugin();
        return true;
    }
    if (name == "unload") return Unload(command);

    // Everything below needs the library.
    if (name == "send-check") {
        sendCheck_ = command.sendCheck;
        return true;
    }
    static const char* const kLibraryCalls[] = {"menu", "command", "open-compose", "outgoing",
                                                "open-mail", "info", "setup", "setup-dialog",
                                                "other-exports"};
    bool isCall = false;
    for (const char* call : kLibraryCalls) isCall = isCall || name == call;
    if (!isCall) {
        *handled = false;
        return true;
    }
    if (!NeedLoaded(command)) return true;

    if (name == "menu") {
        if (!Have(command.line, bkc.OnMenuInit, "BKC_OnMenuInit")) return true;
        SHostMenu menu(n);
        HWND window = MenuWindow(n);
        int result = IntoPlugin("BKC_OnMenuInit",
                                [&] { return bkc.OnMenuInit(window, menu.Handle(), n); });
        EndCall(result);
        std::string items = menu.Appended();
        menus_[n] = items;
        PrintLine("menu " + std::to_string(n) + ":" + (items.empty() ? "" : " " + items));
        return true;
    }
    if (name == "command") {
        std::string text;
        if (!Text(command, command.args[0], false, AnsiCodePage(), &text)) return false;
        const SHostCommand* registered = host.FindCommand(text);
        PrintLine("command " + command.args[0]);
        if (!registered) {
            PrintFail(command.line, "a registered command " + command.args[0], "none");
            return true;
        }
        // The procedure may register commands again: its own copy.
        SHostCommand chosen = *registered;
        IntoPlugin("the command procedure of " + command.args[0],
                   [&] { chosen.proc(MenuWindow(chosen.target), 0); });
        SettleUnload();
        return true;
    }
    if (name == "open-compose" || name == "outgoing") {
        bool open = name == "open-compose";
        auto function = open ? bkc.OnOpenCompose : bkc.OnOutgoing;
        if (!Have(command.line, function, open ? "BKC_OnOpenCompose" : "BKC_OnOutgoing")) return true;
        // An armed send-check block drives the check this outgoing opens.
        std::optional<SSendCheckDriver> check;
        if (!open && sendCheck_) {
            check.emplace(std::move(*sendCheck_), paths_, paths_.shots);
            sendCheck_.reset();
            check->Begin();
        }
        HWND window = host.compose.window;
        int result = IntoPlugin(open ? "BKC_OnOpenCompose" : "BKC_OnOutgoing",
                                [&] { return function(window, n); });
        EndCall(result);
        if (check) check->Finish();
        PrintLine(name + " " + std::to_string(n) + " -> " + std::to_string(result));
        return true;
    }
    if (name == "open-mail") {
        if (!Have(command.line, bkc.OnOpenMail, "BKC_OnOpenMail")) return true;
        const std::string* from = host.mail.Find("From");
        SetWindowTextA(host.senderWindow, from ? from->c_str() : "");
        std::string mailId = host.folder + "?00000001";
        int result = IntoPlugin("BKC_OnOpenMail", [&] { return bkc.OnOpenMail(mailId.c_str()); });
        EndCall(result);
        PrintLine("sender-view: " + WindowTextUtf8(host.senderWindow));
        return true;
    }
    if (name == "info") {
        if (!Have(command.line, bkc.OnPlugInInfo, "BKC_OnPlugInInfo")) return true;
        SGuardedInfo record;
        std::memset(&record.info, 0, sizeof record.info);
        std::memset(record.guard, kGuardByte, sizeof record.guard);
        int result = IntoPlugin("BKC_OnPlugInInfo", [&] { return bkc.OnPlugInInfo(&record.info); });
        EndCall(result);
        for (unsigned char b : record.guard) {
            if (b != kGuardByte) {
                Complain("BKC_OnPlugInInfo wrote past the end of the information record");
                break;
            }
        }
        std::string fields[4] = {
            Field(record.info.name, sizeof record.info.name, "name"),
            Field(record.info.vendor, sizeof record.info.vendor, "vendor"),
            Field(record.info.version, sizeof record.info.version, "version"),
            Field(record.info.description, sizeof record.info.description, "description"),
        };
        infoFields_ = {fields[0], fields[1], fields[2], fields[3]};
        // The real host ignores a plug-in without a name or a vendor.
        if (fields[0].empty()) Complain("BKC_OnPlugInInfo left the name field empty");
        if (fields[1].empty()) Complain("BKC_OnPlugInInfo left the vendor field empty");
        PrintLine("name: " + fields[0]);
        PrintLine("vendor: " + fields[1]);
        PrintLine("version: " + fields[2]);
        PrintLine("description: " + fields[3]);
        return true;
    }
    if (name == "setup" || name == "setup-dialog") {
        if (!Have(command.line, bkc.OnPlugInSetup, "BKC_OnPlugInSetup")) return true;
        // Bare setup: the host's hook closes the dialog as Cancel.
        std::optional<SDialogDriver> driver;
        if (name == "setup-dialog") {
            driver.emplace(command.actions, paths_, paths_.shots);
            if (!driver->Begin()) return ScriptError(command.line, "cannot drive the dialog");
        }
        int result = IntoPlugin("BKC_OnPlugInSetup", [&] { return bkc.OnPlugInSetup(host.mainWindow); });
        EndCall(result);
        PrintLine("setup -> " + std::to_string(result));
        if (driver) {
            driver->Finish(command.line);
            int line = 0;
            std::string error;
            if (driver->TakeScriptError(&line, &error)) return ScriptError(line, error);
        }
        return true;
    }
    if (name == "other-exports") {
        OtherExports(command);
        return true;
    }
    *handled = false;
    return true;
}

// The exports that do nothing in this plug-in, each called once with
// harmless arguments; the answers that were not 0 are printed.
void SRunner::OtherExports(const SScriptCommand& command) {
    const SPluginExports& bkc = library_.Exports();
    const SHostState& host = TheHost();
    std::string folder = host.folder;
    std::string mailId = host.folder + "?00000001";
    std::string source = host.mail.Block() + "\r\n" + host.mailText;
    int action = 0;
    char* parameter = nullptr;
    std::string odd;
    int first = 0;
    auto answer = [&](const char* name, bool present, auto call) {
        if (!Have(command.line, present, name)) return;
        int result = IntoPlugin(name, call);
        if (result == 0) return;
        if (first == 0) first = result;
        odd += (odd.empty() ? "" : ", ") + std::string(name) + " " + std::to_string(result);
    };
    answer("BKC_OnOpenFolder", bkc.OnOpenFolder, [&] { return bkc.OnOpenFolder(folder.c_str()); });
    answer("BKC_OnEveryMinute", bkc.OnEveryMinute, [&] { return bkc.OnEveryMinute(); });
    answer("BKC_OnKeyDispatch", bkc.OnKeyDispatch,
           [&] { return bkc.OnKeyDispatch(host.mainWindow, 'A', 0); });
    answer("BKC_OnRetrieve", bkc.OnRetrieve,
           [&] { return bkc.OnRetrieve(source.c_str(), mailId.c_str()); });
    answer("BKC_OnSend", bkc.OnSend, [&] { return bkc.OnSend(source.c_str()); });
    answer("BKC_OnFinishRetrieve", bkc.OnFinishRetrieve, [&] { return bkc.OnFinishRetrieve(0); });
    answer("BKC_OnDragDrop", bkc.OnDragDrop,
           [&] { return bkc.OnDragDrop(folder.c_str(), mailId.c_str(), 1, kDropCopy); });
    answer("BKC_OnBeforeFilter", bkc.OnBeforeFilter,
           [&] { return bkc.OnBeforeFilter(source.c_str(), &action, &parameter); });
    EndCall(first);
    PrintLine("other-exports -> " + (odd.empty() ? std::string("0") : odd));
}
