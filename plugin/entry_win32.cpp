// The library's entry points: the load and unload notifications and the
// sixteen BKC_* functions the host calls. Each stays thin and hands the
// work to the subsystem that does it.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "addressbook/compare_address.h"
#include "common/platform.h"
#include "common/version.h"
#include "common/entry_gate.h"
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

    // Without its version record the library still loads (its texts are
    // then empty); nothing thrown here may reach the loader.
    if (CatchAll([&state] {
            const std::string path = platform::ModuleFilePath();
            state.version = std::make_unique<SVersion>(path.c_str());
        }) != Thrown::kNone)
        CatchAll([] { ShowErrorBox(nullptr, kStrNoVersionInfo); });
    return TRUE;
}

void ProcessDetach() { Plugin().version.reset(); }

// Every export below is one call of the host's: RunHostCall counts it,
// answers 0 after exit, and lets nothing thrown reach the host.
template <typename Body>
int Enter(HostWindow owner, Body&& body) {
    return RunHostCall(Plugin().gate, owner, std::forward<Body>(body));
}

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

int WINAPI BKC_OnStart() { return Enter(nullptr, [] { return StartPlugin(); }); }

// Inside another call's message box the exit waits until that call has
// returned: tearing down under it would free what it works with.
int WINAPI BKC_OnExit() {
    Plugin().gate.RequestExit();
    return 0;
}

// May come before BKC_OnStart, while the host builds its main window.
int WINAPI BKC_OnMenuInit(HWND window, HMENU menu, int menuType) {
    return Enter(window, [&] {
        OnMenuInit(window, menu, menuType);
        return 0;
    });
}

int WINAPI BKC_OnOpenMail(LPCSTR) {
    return Enter(nullptr, [] {
        PluginState& state = Plugin();
        if (state.settings && state.settings->replaceMessageView) {
            const CallBuffers buffers(state.buffers);
            ReplaceSenderView(state.MakeWork(buffers), state.senderField);
        }
        return 0;
    });
}

int WINAPI BKC_OnOpenCompose(HWND window, int mode) {
    return Enter(window, [&] {
        PluginState& state = Plugin();
        const CallBuffers buffers(state.buffers);
        OnOpenCompose(state.MakeWork(buffers), state.templates.get(), window, mode);
        return 0;
    });
}

// A failure inside lets the message go: stopping it would keep the user
// from sending at all.
int WINAPI BKC_OnOutgoing(HWND window, int mode) {
    return Enter(window, [&] {
        PluginState& state = Plugin();
        const CallBuffers buffers(state.buffers);
        return OnOutgoing(state.MakeWork(buffers), state.templates.get(), window, mode);
    });
}

int WINAPI BKC_OnPlugInSetup(HWND window) {
    return Enter(window, [&] {
        PluginState& state = Plugin();
        if (!state.settings) return 0;
        const char* version = state.version ? state.version->Text(VersionText::ProductVersion) : "";
        RunSettingsDialog(window, *state.settings, version);
        ChooseCompareAddress(state.settings->ignoreCase);
        return 1;
    });
}

// Asks nothing of the host (the host may not be ready to answer) and fills
// the record even after exit.
int WINAPI BKC_OnPlugInInfo(HostPlugInInfo* info) {
    CatchAll([info] { FillPlugInInfo(info, Plugin().version.get()); });
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
