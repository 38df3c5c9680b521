// The library's entry points: the load and unload notifications and the
// sixteen BKC_* functions the host calls. Each stays thin and hands the
// work to the subsystem that does it.
#include <windows.h>

#include <new>

#include "addressbook/compare_address.h"
#include "common/sizes.h"
#include "common/version.h"
#include "outgoing/outgoing.h"
#include "plugin/host_api.h"
#include "plugin/lifecycle.h"
#include "plugin/menu.h"
#include "plugin/plugin_info.h"
#include "plugin/plugin_state.h"
#include "plugin/warning_box.h"
#include "reply/open_compose.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"
#include "view/sender_view.h"

namespace {

BOOL ProcessAttach(HINSTANCE instance) {
    PluginState& state = Plugin();
    state.instance = instance;
    if (!Host().Init()) return FALSE;

    char path[kPathSize];
    OwnModulePath(path, sizeof path);
    try {
        state.version = new SVersion(path);
    } catch (...) {
        state.version = nullptr;
        ShowWarningBox(kStrNoVersionInfo);
    }
    return TRUE;
}

void ProcessDetach() {
    PluginState& state = Plugin();
    delete state.version;
    state.version = nullptr;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) return ProcessAttach(instance);
    if (reason == DLL_PROCESS_DETACH) ProcessDetach();
    return TRUE;
}

int WINAPI BKC_OnStart() { return StartPlugin(); }

int WINAPI BKC_OnExit() { return ExitPlugin(); }

// May come before BKC_OnStart, while the host builds its main window.
int WINAPI BKC_OnMenuInit(HWND window, HMENU menu, int menuType) {
    OnMenuInit(window, menu, menuType);
    return 0;
}

int WINAPI BKC_OnOpenMail(LPCSTR) {
    SSettings* settings = Plugin().settings;
    if (settings && settings->replaceMessageView) ReplaceSenderView();
    return 0;
}

int WINAPI BKC_OnOpenCompose(HWND window, int mode) {
    OnOpenCompose(window, mode);
    return 0;
}

int WINAPI BKC_OnOutgoing(HWND window, int mode) { return OnOutgoing(window, mode); }

int WINAPI BKC_OnPlugInSetup(HWND window) {
    SSettings* settings = Plugin().settings;
    if (!settings) return 0;
    RunSettingsDialog(window);
    ChooseCompareAddress(settings->ignoreCase);
    return 1;
}

int WINAPI BKC_OnPlugInInfo(HostPlugInInfo* info) {
    FillPlugInInfo(info, Plugin().version);
    return 0;
}

// The events below need nothing from the plug-in.
int WINAPI BKC_OnOpenFolder(LPCSTR) { return 0; }
int WINAPI BKC_OnSend(LPCSTR) { return 0; }
int WINAPI BKC_OnFinishRetrieve(int) { return 0; }
int WINAPI BKC_OnKeyDispatch(HWND, int, int) { return 0; }
int WINAPI BKC_OnBeforeFilter(LPCSTR, int*, char**) { return 0; }
int WINAPI BKC_OnRetrieve(LPCSTR, LPCSTR) { return 0; }
int WINAPI BKC_OnDragDrop(LPCSTR, LPCSTR, int, int) { return 0; }
int WINAPI BKC_OnEveryMinute() { return 0; }

}  // extern "C"
