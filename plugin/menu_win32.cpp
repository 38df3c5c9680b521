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

void WINAPI ShowHelp(HostWindow window, intptr_t) {
    if (Plugin().settings) OpenHelpPage(window);
}

void WINAPI ExtendTemplate(HostWindow window, intptr_t) {
    if (Plugin().templates) Plugin().templates->ExpandTemplates(window);
}

void WINAPI UndoExtendTemplate(HostWindow window, intptr_t) {
    if (Plugin().templates) Plugin().templates->UndoTemplates(window);
}

// Registers the command with the host and appends it; 0 when the host
// gave no identifier.
UINT AppendCommand(HMENU menu, unsigned textId, int menuType, HostCommandProc procedure) {
    const std::string text = platform::LoadResString(textId, kResStringSize);
    const UINT id = Host().RegisterCommand(text.c_str(), menuType, procedure);
    if (id == 0) return 0;
    AppendMenuA(menu, MF_STRING, id, text.c_str());
    return id;
}

void AppendComposeItem(HMENU menu, unsigned textId, int menuType, HostCommandProc procedure,
                       void* bitmap) {
    const UINT id = AppendCommand(menu, textId, menuType, procedure);
    if (id == 0) return;
    CheckMenuItem(menu, id, MF_BYCOMMAND | MF_UNCHECKED);
    if (bitmap) SetMenuItemBitmaps(menu, id, MF_BYCOMMAND, static_cast<HBITMAP>(bitmap), nullptr);
}

}  // namespace

int OnMenuInit(HostWindow, HostMenu menu, int menuType) {
    if (!Host().RegisterCommand || !menu) return 0;
    HMENU given = static_cast<HMENU>(menu);

    if (menuType == kMenuMain) {
        HMENU help = GetSubMenu(given, kMainHelpPopup);
        if (help) AppendCommand(help, kStrHelp, menuType, ShowHelp);
        return 0;
    }
    if (menuType != kMenuCompose && menuType != kMenuComposeEdit) return 0;

    HMENU target = menuType == kMenuCompose ? GetSubMenu(given, kComposeToolsPopup) : given;
    if (!target) return 0;
    PluginState& state = Plugin();
    AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
    AppendComposeItem(target, kStrExtendTemplate, menuType, ExtendTemplate, nullptr);
    AppendComposeItem(target, kStrUndoTemplate, menuType, UndoExtendTemplate, nullptr);
    AppendComposeItem(target, kStrReply, menuType, SwitchToReply, state.bitmapReply);
    AppendComposeItem(target, kStrReplyAll, menuType, SwitchToReplyAll, state.bitmapReplyAll);
    return 0;
}
