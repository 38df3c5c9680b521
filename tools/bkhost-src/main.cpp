// bkhost: the headless mail client. Runs one script against the plug-in:
//   bkhost.exe SCRATCH SCRIPT
// SCRATCH is the run's scratch folder (data, plugins, appdata, common,
// temp inside it), SCRIPT the script file. Exit status 0 passed, 1 failed,
// 2 the script could not be run.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "call_frames.h"
#include "codepage.h"
#include "common/win32_handles.h"
#include "fault_watch.h"
#include "file_ops.h"
#include "host_registry.h"
#include "host_state.h"
#include "host_windows.h"
#include "message_boxes.h"
#include "runner.h"
#include "script.h"
#include "transcript.h"
#include "watchdog.h"

namespace {

constexpr unsigned kEnglishCodePage = 1252;
constexpr unsigned kJapaneseCodePage = 932;
constexpr char kJapaneseLabel[] = "\xE5\xB7\xAE\xE5\x87\xBA\xE4\xBA\xBA\xEF\xBC\x9A";   // 差出人：

int NotRun(const std::string& why) {
    PrintLine(why);
    PrintLine("failed");
    return kRunNotRun;
}

// The run's environment must be the one the script asks for.
bool CheckEnvironment(const SScript& script, std::string* why) {
    unsigned want = script.japanese ? kJapaneseCodePage : kEnglishCodePage;
    if (AnsiCodePage() != want) {
        *why = "the run has code page " + std::to_string(AnsiCodePage()) + ", lang " +
               (script.japanese ? "ja" : "en") + " needs " + std::to_string(want);
        return false;
    }
    bool japaneseUi = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    if (japaneseUi != script.japanese) {
        *why = std::string("the run's user interface language is ") +
               (japaneseUi ? "Japanese" : "not Japanese") + ", the script asks for lang " +
               (script.japanese ? "ja" : "en");
        return false;
    }
    bool hasSetStatus = GetProcAddress(GetModuleHandleA(nullptr), "BKA_SetStatus") != nullptr;
    if (hasSetStatus == script.withoutSetStatus) {
        *why = script.withoutSetStatus
                   ? "host-without-setstatus needs bkhost-nosetstatus.exe"
                   : "this host lacks BKA_SetStatus; the script needs bkhost.exe";
        return false;
    }
    return true;
}

// The wrapper's --shots folder, else the scratch folder's shots\.
std::string ShotsFolder(const std::string& scratch) {
    wchar_t folder[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"BKHOST_SHOTS", folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return scratch + "\\shots";
    return WideToUtf8(folder);
}

bool ReadScript(const std::wstring& path, std::string* text) {
    return ReadFileBytes(WideToUtf8(path), text);
}

}  // namespace

int main() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    UnmanagedWineWindows();
    _setmode(_fileno(stdout), _O_BINARY);

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const win32::ScopedLocalMem arguments(argv);
    if (!argv || argc != 3) {
        std::fprintf(stderr, "usage: bkhost.exe SCRATCH SCRIPT (run it through tools/bkhost)\n");
        return kRunNotRun;
    }
    std::string scratch = WideToUtf8(argv[1]);
    std::wstring scriptPath = argv[2];
    while (!scratch.empty() && scratch.back() == '\\') scratch.pop_back();

    std::string text;
    if (!ReadScript(scriptPath, &text)) return NotRun("error: cannot read " + WideToUtf8(scriptPath));
    SScript script;
    std::string error;
    if (!ParseScript(text, &script, &error)) return NotRun("syntax error " + error);
    if (!CheckEnvironment(script, &error)) return NotRun("error: " + error);

    SScriptPaths paths;
    paths.data = scratch + "\\data";
    paths.plugins = scratch + "\\plugins";
    paths.appdata = scratch + "\\appdata";
    paths.commondata = scratch + "\\common";
    std::string temp = scratch + "\\temp";
    paths.shots = ShotsFolder(scratch);
    for (const std::string* folder : {&paths.data, &paths.plugins, &paths.appdata, &paths.commondata, &temp})
        if (!CreateFolders(*folder)) return NotRun("error: cannot create " + *folder);

    RememberHostThread();
    SHostState& host = TheHost();
    unsigned ansi = AnsiCodePage();
    std::string label;
    if (!Utf8ToCodePage(paths.data + "\\", ansi, &host.dataFolder) ||
        !Utf8ToCodePage(temp + "\\", ansi, &host.tempFolder) ||
        !Utf8ToCodePage(script.japanese ? kJapaneseLabel : "From:", ansi, &label))
        return NotRun("error: the scratch folder's path cannot be written in the code page");
    host.compose.codePage = ansi;
    for (SComposeWindow& other : host.parked) other.codePage = ansi;

    if (!ClearHostKey()) return NotRun("error: cannot empty the host's registry key");
    if (!RedirectShellFolders(Utf8ToWide(paths.appdata), Utf8ToWide(paths.commondata))) {
        RestoreShellFolders();
        return NotRun("error: cannot point the application-data folders at the scratch folder");
    }
    SetDllDirectoryW(Utf8ToWide(paths.plugins).c_str());
    if (!CreateHostWindows(&host, label.c_str()) || !InstallBoxHook() || !StartWatchdog()) {
        RestoreShellFolders();
        return NotRun("error: cannot create the host's windows");
    }
    if (!WatchFaults()) {
        RestoreShellFolders();
        return NotRun("error: cannot watch for faults");
    }

    int status = SRunner(script, paths).Run();

    RemoveBoxHook();
    DestroyHostWindows(&host);
    RestoreShellFolders();
    return status;
}
