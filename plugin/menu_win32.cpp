// The plug-in's menu items: help in the main window, the template and
// reply-switch commands in the compose window.
#include "plugin/menu.h"

#include <windows.h>

#include <string>

#include "common/help_page.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "plugin/plugin_state.h"
#include "reply/reply_all.h"
#include "resources/string_ids.h"
#include "template/extend_template.h"

namespace {

constexpr int kMenuMain = 0;
constexpr int kMenuCompose = 10;
constexpr int kMenuComposeEdit = 11;
constexpr int kMainHelpPopup = 5;       // the main menu's sixth pop-up
constexpr int kComposeToolsPopup = 3;   // the compose menu's fourth pop-up

// The host calls these with nothing but the window: each hands the work
// what it needs from the plug-in's state, as one call of the host's (see
// EntryGate).
template <typename Body>
void RunCommand(HostWindow window, Body&& body) {
    PluginState& state = Plugin();
    RunHostCall(state.gate, window, [&] {
        body(state);
        return 0;
    });
}

void WINAPI ShowHelp(HostWindow window, intptr_t) {
    RunCommand(window, [window](PluginState& state) {
        if (state.settings) OpenHelpPage(window);
    });
}

void WINAPI ExtendTemplate(HostWindow window, intptr_t) {
    RunCommand(window, [window](PluginState& state) {
        if (!state.templates) return;
        const CallBuffers buffers(state.buffers);
        state.templates->ExpandTemplates(state.MakeWork(buffers), window);
    });
}

void WINAPI UndoExtendTemplate(HostWindow window, intptr_t) {
    RunCommand(window, [window](PluginState& state) {
        if (state.templates) state.templates->UndoTemplates(state.host, window);
    });
}

void WINAPI ReplyToSender(HostWindow window, intptr_t) {
    RunCommand(window, [window](PluginState& state) {
        const CallBuffers buffers(state.buffers);
        SwitchToReply(state.MakeWork(buffers), window);
    });
}

void WINAPI ReplyToAll(HostWindow window, intptr_t) {
    RunCommand(window, [window](PluginState& state) {
        const CallBuffers buffers(state.buffers);
        SwitchToReplyAll(state.MakeWork(buffers), window);
    });
}

// Registers the command with the host and appends it; 0 when the host
// gave no identifier.
UINT AppendCommand(HMENU menu, unsigned textId, int menuType, HostCommandProc procedure) {
    const std::string text = platform::LoadResString(textId, kResStringSize);
    const UINT id = Plugin().host.RegisterCommand(text.c_str(), menuType, procedure);
    if (id == 0) return 0;
    AppendMenuA(menu, MF_STRING, id, text.c_str());
    return id;
}

void AppendComposeItem(HMENU menu, unsigned textId, int menuType, HostCommandProc procedure,
                       HGDIOBJ bitmap) {
    const UINT id = AppendCommand(menu, textId, menuType, procedure);
    if (id == 0) return;
    CheckMenuItem(menu, id, MF_BYCOMMAND | MF_UNCHECKED);
    if (bitmap) SetMenuItemBitmaps(menu, id, MF_BYCOMMAND, static_cast<HBITMAP>(bitmap), nullptr);
}

}  // namespace

int OnMenuInit(HostWindow, HostMenu menu, int menuType) {
    PluginState& state = Plugin();
    if (!state.host.RegisterCommand || !menu) return 0;
    HMENU given = static_cast<HMENU>(menu);

    if (menuType == kMenuMain) {
        HMENU help = GetSubMenu(given, kMainHelpPopup);
        if (help) AppendCommand(help, kStrHelp, menuType, ShowHelp);
        return 0;
    }
    if (menuType != kMenuCompose && menuType != kMenuComposeEdit) return 0;

    HMENU target = menuType == kMenuCompose ? GetSubMenu(given, kComposeToolsPopup) : given;
    if (!target) return 0;
    AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
    AppendComposeItem(target, kStrExtendTemplate, menuType, ExtendTemplate, nullptr);
    AppendComposeItem(target, kStrUndoTemplate, menuType, UndoExtendTemplate, nullptr);
    AppendComposeItem(target, kStrReply, menuType, ReplyToSender, state.bitmapReply.Get());
    AppendComposeItem(target, kStrReplyAll, menuType, ReplyToAll, state.bitmapReplyAll.Get());
    return 0;
}
