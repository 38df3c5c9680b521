// The library's entry points: the load and unload notifications and the
// sixteen BKC_* functions the host calls. Each stays thin and hands the
// work to the subsystem that does it.
#include <windows.h>

#include <memory>
#include <string>

#include "addressbook/compare_address.h"
#include "common/platform.h"
#include "common/version.h"
#include "outgoing/outgoing.h"
#include "plugin/lifecycle.h"
#include "plugin/menu.h"
#include "plugin/plugin_info.h"
#include "plugin/plugin_state.h"
#include "plugin/runtime_unload.h"
#include "common/string_box.h"
#include "reply/open_compose.h"
#include "resources/string_ids.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"
#include "template/extend_template.h"
#include "view/sender_view.h"

namespace {

BOOL ProcessAttach(HINSTANCE instance) {
    platform::SetModule(instance);
    PluginState& state = Plugin();
    if (!state.host.Init()) return FALSE;

    const std::string path = platform::ModuleFilePath();
    try {
        state.version = std::make_unique<SVersion>(path.c_str());
    } catch (...) {
        ShowErrorBox(nullptr, kStrNoVersionInfo);
    }
    return TRUE;
}

void ProcessDetach() { Plugin().version.reset(); }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) return ProcessAttach(instance);
    if (reason == DLL_PROCESS_DETACH) {
        ProcessDetach();
        // Unloaded while the process goes on (not at its end, reserved
        // non-null): give back what the runtime would keep.
        if (!reserved) ReleaseStaticRuntime();
    }
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
    PluginState& state = Plugin();
    if (state.settings && state.settings->replaceMessageView)
        ReplaceSenderView(state.MakeWork(), state.senderField);
    return 0;
}

int WINAPI BKC_OnOpenCompose(HWND window, int mode) {
    PluginState& state = Plugin();
    OnOpenCompose(state.MakeWork(), state.templates.get(), window, mode);
    return 0;
}

int WINAPI BKC_OnOutgoing(HWND window, int mode) {
    PluginState& state = Plugin();
    return OnOutgoing(state.MakeWork(), state.templates.get(), window, mode);
}

int WINAPI BKC_OnPlugInSetup(HWND window) {
    PluginState& state = Plugin();
    if (!state.settings) return 0;
    const char* version = state.version ? state.version->Text(VersionText::ProductVersion) : "";
    RunSettingsDialog(window, *state.settings, version);
    ChooseCompareAddress(state.settings->ignoreCase);
    return 1;
}

int WINAPI BKC_OnPlugInInfo(HostPlugInInfo* info) {
    FillPlugInInfo(info, Plugin().version.get());
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
