// Runs a parsed script against the plug-in: set-up commands change the
// simulated host, calls go into the library, checks compare and print.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "call_frames.h"
#include "common/win32_handles.h"
#include "plugin_library.h"
#include "process_resources.h"
#include "script.h"
#include "script_text.h"

// Exit statuses of a run.
constexpr int kRunPassed = 0;
constexpr int kRunFailed = 1;
constexpr int kRunNotRun = 2;

class SRunner {
public:
    SRunner(const SScript& script, const SScriptPaths& paths);
    // Runs every command, then the end-of-script steps; the exit status.
    int Run();

private:
    // Each returns false when the script cannot go on (a script error).
    bool Execute(const SScriptCommand& command);
    bool SetUp(const SScriptCommand& command, bool* handled);
    bool Call(const SScriptCommand& command, bool* handled);
    bool Check(const SScriptCommand& command, bool* handled);
    bool Resources(const SScriptCommand& command, bool* handled);
    void Finish();

    // Script text expanded and converted; false (after the error) when the
    // text cannot be written in the code page.
    bool Text(const SScriptCommand& command, const std::string& arg, bool escapes,
              unsigned codePage, std::string* out);
    bool Block(const SScriptCommand& command, unsigned codePage, bool dropFinalLineEnd,
               std::string* out);
    std::string Path(const std::string& arg) const;
    bool ScriptError(int line, const std::string& message);

    // Calls into the library.
    bool LoadPlugin(int line);
    void UnloadPlugin();
    bool NeedLoaded(const SScriptCommand& command);
    void OtherExports(const SScriptCommand& command);
    void BeginCall();
    void EndCall(int result);
    // A call into the plug-in: its own frame of the host's collector.
    template <typename Call>
    decltype(auto) IntoPlugin(const std::string& what, Call call) {
        BeginCall();
        SPluginCall frame(what);
        return call();
    }
    // Unloads when an exit or unload inside a box asked for it and the call
    // that showed the box has returned.
    void SettleUnload();
    // BKC_OnExit, printed; the library stays loaded.
    void CallExit(const SScriptCommand& command);
    bool Unload(const SScriptCommand& command);

    // on-box: the armed reactions, run from the box's message loop.
    struct SArmedBox {
        std::string text;   // UTF-8, as printed
        const SScriptCommand* command;
        bool fired = false;
    };
    static void OnBox(const std::string& text, void* context);
    void RunBoxBlock(SArmedBox* armed);

    // The window encoding of the compose window: UTF-8 or ANSI.
    unsigned HeldCodePage() const;
    std::string HeldToUtf8(const std::string& held) const;
    std::string SettingsFile(bool beside) const;

    const SScript& script_;
    SScriptPaths paths_;
    std::string libraryName_ = "Halyard.dll";
    SPluginLibrary library_;
    std::optional<int> lastResult_;
    std::map<int, std::string> menus_;            // what each menu type's set-up appended
    std::optional<std::array<std::string, 4>> infoFields_;   // name, vendor, version, description
    bool scriptError_ = false;
    std::optional<SResourceCounts> resourcesMark_;
    std::map<std::string, win32::ScopedFile> locks_;   // lock PATH, until unlock or the end
    std::vector<SArmedBox> armed_;
    int boxDepth_ = 0;            // on-box blocks running
    bool exitedOnly_ = false;     // exit-only ran, unload has not
    bool unloadPending_ = false;  // asked for while a call was in progress
    // The send-check block armed for the next outgoing.
    std::optional<std::vector<SSendCheckAction>> sendCheck_;
};
