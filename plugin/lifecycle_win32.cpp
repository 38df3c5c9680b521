#include "plugin/lifecycle.h"

#include <windows.h>

#include <exception>
#include <string>
#include <utility>

#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "host/host_headers.h"
#include "plugin/plugin_state.h"
#include "plugin/sender_field.h"
#include "plugin/watcher.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "template/extend_template.h"

namespace {

HINSTANCE Instance() { return static_cast<HINSTANCE>(platform::Module()); }

// Keeps the message view and finds the sender window beside its label.
void FindMessageView(PluginState& state) {
    HostWindow main = nullptr, tree = nullptr, list = nullptr, view = nullptr;
    if (state.host.GetWindowHandles) state.host.GetWindowHandles(&main, &tree, &list, &view);
    state.messageView = view;

    const std::string label = platform::LoadResString(kStrSenderLabel, kResStringSize);
    state.senderField = FindSenderField(static_cast<HWND>(view), label.c_str());
}

void LoadMenuBitmaps(PluginState& state) {
    state.bitmapReply.Reset(LoadBitmapA(Instance(), MAKEINTRESOURCEA(IDB_REPLY)));
    state.bitmapReplyAll.Reset(LoadBitmapA(Instance(), MAKEINTRESOURCEA(IDB_REPLY_ALL)));
}

}  // namespace

int StartPlugin() {
    PluginState& state = Plugin();

    // 1. Forget any template engine; find the settings file.
    state.templates.reset();
    const std::string modulePath = platform::ModuleFilePath();
    if (modulePath.empty() ||
        !LocateSettingsFile(modulePath.c_str(), state.settingsPath, sizeof state.settingsPath))
        return 0;

    // 2. The address index over the host's address books; the plug-in works
    // on without one when it cannot be built. The books' change watches are
    // armed before the index is read, so that no change made meanwhile can
    // go unseen.
    const std::string addrBookRoot = JoinPath(HostDataFolder(state.host), kAddrBookFolder);
    platform::FolderWatches watches = ArmAddressBookWatches(addrBookRoot);
    state.addrBook = BuildAddressIndex(addrBookRoot);

    // 3. The work buffers; without them the plug-in stays inactive.
    if (!state.buffers.Allocate()) {
        state.addrBook.reset();
        return 0;
    }

    // 4. The settings object; without it the plug-in stays inactive.
    try {
        state.settings = std::make_unique<SSettings>(state.settingsPath);
    } catch (const std::exception&) {
        ShowErrorBox(nullptr, kStrNoSettings);
    }
    if (!state.settings) {
        state.buffers.Free();
        state.addrBook.reset();
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
    state.addrBookChanges.Take();
    state.stopFlag = 0;
    if (state.addrBook) StartAddressBookWatcher(state, std::move(watches));

    // 11. The template engine with an empty undo table.
    state.templates = std::make_unique<SExtendTemplate>();
    return 0;
}

int ExitPlugin() {
    PluginState& state = Plugin();

    // What the send check remembered of open replies is of no further use.
    state.replyOrigins = ReplyOrigins();

    // 1. The template engine.
    state.templates.reset();

    // 2. Bitmap 113, then 108.
    state.bitmapReplyAll.Reset();
    state.bitmapReply.Reset();

    // 3. The watcher: stop flag, stop event, at most 4000 ms.
    StopAddressBookWatcher(state);

    // 4. The settings object, then the address index.
    state.settings.reset();
    state.addrBook.reset();

    // 5. ResultBuffer, CopyBuffer, HeaderBuffer.
    state.buffers.Free();
    return 0;
}
