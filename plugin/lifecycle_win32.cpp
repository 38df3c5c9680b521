#include "plugin/lifecycle.h"

#include <windows.h>

#include <exception>

#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "common/sizes.h"
#include "common/win32_handles.h"
#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "plugin/sender_field.h"
#include "plugin/settings_path.h"
#include "plugin/warning_box.h"
#include "plugin/watcher.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "template/extend_template.h"

namespace {

HINSTANCE Instance() { return static_cast<HINSTANCE>(Plugin().instance); }

void DestroyAddressIndex(PluginState& state) {
    delete state.addrBook;
    state.addrBook = nullptr;
}

// Keeps the message view and finds the sender window beside its label.
void FindMessageView(PluginState& state) {
    HostWindow main = nullptr, tree = nullptr, list = nullptr, view = nullptr;
    if (Host().GetWindowHandles) Host().GetWindowHandles(&main, &tree, &list, &view);
    state.messageView = view;

    char label[kResStringSize] = {};
    LoadStringA(Instance(), kStrSenderLabel, label, static_cast<int>(sizeof label));
    state.senderField = FindSenderField(static_cast<HWND>(view), label);
}

void LoadMenuBitmaps(PluginState& state) {
    state.bitmapReply = LoadBitmapA(Instance(), MAKEINTRESOURCEA(IDB_REPLY));
    state.bitmapReplyAll = LoadBitmapA(Instance(), MAKEINTRESOURCEA(IDB_REPLY_ALL));
}

void DeleteMenuBitmaps(PluginState& state) {
    if (state.bitmapReplyAll) DeleteObject(static_cast<HGDIOBJ>(state.bitmapReplyAll));
    state.bitmapReplyAll = nullptr;
    if (state.bitmapReply) DeleteObject(static_cast<HGDIOBJ>(state.bitmapReply));
    state.bitmapReply = nullptr;
}

}  // namespace

bool OwnModulePath(char* out, size_t outSize) {
    if (!out || outSize == 0) return false;
    DWORD length = GetModuleFileNameA(Instance(), out, static_cast<DWORD>(outSize));
    out[outSize - 1] = '\0';
    if (length == 0 || length >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool AllocateWorkBuffers(PluginState& state) {
    win32::ScopedGlobalMem header = win32::ScopedGlobalMem::AllocFixed(kListSize);
    if (!header) return false;
    win32::ScopedGlobalMem copy = win32::ScopedGlobalMem::AllocFixed(kListSize);
    if (!copy) return false;
    win32::ScopedGlobalMem result = win32::ScopedGlobalMem::AllocFixed(kListSize);
    if (!result) return false;
    state.headerBuffer = static_cast<char*>(header.Release());
    state.copyBuffer = static_cast<char*>(copy.Release());
    state.resultBuffer = static_cast<char*>(result.Release());
    return true;
}

void FreeWorkBuffers(PluginState& state) {
    for (char** buffer : {&state.resultBuffer, &state.copyBuffer, &state.headerBuffer}) {
        if (*buffer) GlobalFree(static_cast<HGLOBAL>(*buffer));
        *buffer = nullptr;
    }
}

int StartPlugin() {
    PluginState& state = Plugin();

    // 1. Forget any template engine; find the settings file.
    state.templates = nullptr;
    char modulePath[kPathSize];
    if (!OwnModulePath(modulePath, sizeof modulePath) ||
        !LocateSettingsFile(modulePath, state.settingsPath, sizeof state.settingsPath))
        return 0;

    // 2. The address index over the host's address books; the plug-in works
    // on without one when it cannot be built.
    state.addrBook = BuildAddressIndex(Host().GetDataFolder ? Host().GetDataFolder() : nullptr);

    // 3. The work buffers; without them the plug-in stays inactive.
    if (!AllocateWorkBuffers(state)) {
        DestroyAddressIndex(state);
        return 0;
    }

    // 4. The settings object; without it the plug-in stays inactive.
    try {
        state.settings = new SSettings(state.instance, state.settingsPath);
    } catch (const std::exception&) {
        state.settings = nullptr;
        ShowWarningBox(kStrNoSettings);
    }
    if (!state.settings) {
        FreeWorkBuffers(state);
        DestroyAddressIndex(state);
        return 0;
    }

    // 5, 6. The message view and its sender window.
    FindMessageView(state);

    // 7. The compose-menu bitmaps.
    LoadMenuBitmaps(state);

    // 8. The address comparison.
    ChooseCompareAddress(state.settings->ignoreCase);

    // 9, 10. The change flags, and the watcher when an index exists (it
    // creates the stop event it shares with the exit routine).
    state.addrBookChanged = 0;
    state.stopFlag = 0;
    if (state.addrBook) StartAddressBookWatcher(state.addrBook);

    // 11. The template engine with an empty undo table.
    state.templates = new SExtendTemplate();
    return 0;
}

int ExitPlugin() {
    PluginState& state = Plugin();

    // 1. The template engine.
    delete state.templates;
    state.templates = nullptr;

    // 2. Bitmap 113, then 108.
    DeleteMenuBitmaps(state);

    // 3. The watcher: stop flag, stop event, at most 4000 ms.
    StopAddressBookWatcher();

    // 4. The settings object, then the address index.
    delete state.settings;
    state.settings = nullptr;
    DestroyAddressIndex(state);

    // 5. ResultBuffer, CopyBuffer, HeaderBuffer.
    FreeWorkBuffers(state);
    return 0;
}
