#include "host_menus.h"

#include <initializer_list>

#include "codepage.h"

namespace {

constexpr UINT kFirstHostItem = 100;

HMENU Popup(std::initializer_list<const wchar_t*> items) {
    static UINT next = kFirstHostItem;
    HMENU popup = CreatePopupMenu();
    for (const wchar_t* item : items) {
        if (item[0] == L'-') AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        else AppendMenuW(popup, MF_STRING, next++, item);
    }
    return popup;
}

void AddPopup(HMENU bar, const wchar_t* text, HMENU popup) {
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), text);
}

HMENU MainMenuBar() {
    HMENU bar = CreateMenu();
    AddPopup(bar, L"&File", Popup({L"&New Message", L"-", L"E&xit"}));
    AddPopup(bar, L"&Edit", Popup({L"&Copy", L"Select &All"}));
    AddPopup(bar, L"&View", Popup({L"&Folder Tree", L"&Message List"}));
    AddPopup(bar, L"&Mailbox", Popup({L"&Check Mail", L"&Send Mail"}));
    AddPopup(bar, L"M&essage", Popup({L"&Reply", L"Reply to &All", L"&Forward"}));
    AddPopup(bar, L"&Tools", Popup({L"&Address Book", L"&Options"}));
    AddPopup(bar, L"&Help", Popup({L"&About"}));
    return bar;
}

HMENU ComposeMenuBar() {
    HMENU bar = CreateMenu();
    AddPopup(bar, L"&File", Popup({L"&Send", L"Save as &Draft", L"-", L"&Close"}));
    AddPopup(bar, L"&Edit", Popup({L"&Undo", L"-", L"Cu&t", L"&Copy", L"&Paste"}));
    AddPopup(bar, L"&View", Popup({L"&Header", L"&Reference"}));
    AddPopup(bar, L"&Tools", Popup({L"&Spell Check", L"&Template"}));
    AddPopup(bar, L"&Help", Popup({L"&About"}));
    return bar;
}

std::string ItemText(HMENU menu, int index, HMENU* submenu) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_CHECKMARKS | MIIM_BITMAP | MIIM_SUBMENU;
    wchar_t text[512] = {};
    info.dwTypeData = text;
    info.cch = 511;
    *submenu = nullptr;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info)) return "?";
    *submenu = info.hSubMenu;
    if (info.fType & MFT_SEPARATOR) return "---";
    std::string shown = WideToUtf8(text);
    // HBMMENU_CALLBACK (-1) to HBMMENU_POPUP_MINIMIZE (11) are drawn by the system.
    INT_PTR bitmap = reinterpret_cast<INT_PTR>(info.hbmpItem);
    bool ownBitmap = bitmap != 0 && (bitmap < -1 || bitmap > 11);
    if (info.hbmpUnchecked || info.hbmpChecked || ownBitmap || (info.fType & MFT_BITMAP))
        shown += " [bitmap]";
    return shown;
}

}  // namespace

SHostMenu::SHostMenu(int type) {
    if (type == 0) menu_ = MainMenuBar();
    else if (type == 10) menu_ = ComposeMenuBar();
    else if (type == 11) menu_ = Popup({L"&Undo", L"-", L"Cu&t", L"&Copy", L"&Paste", L"-", L"Select &All"});
    else menu_ = Popup({L"&Open", L"&Copy", L"-", L"&Properties"});
    Remember(menu_);
}

SHostMenu::~SHostMenu() {
    if (menu_) DestroyMenu(menu_);
}

void SHostMenu::Remember(HMENU menu) {
    int count = GetMenuItemCount(menu);
    counts_[menu] = count;
    for (int i = 0; i < count; ++i) {
        HMENU submenu = GetSubMenu(menu, i);
        if (submenu) Remember(submenu);
    }
}

void SHostMenu::List(HMENU menu, bool allNew, std::string* out) const {
    auto known = counts_.find(menu);
    int before = allNew || known == counts_.end() ? 0 : known->second;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU submenu = nullptr;
        std::string text = ItemText(menu, i, &submenu);
        bool isNew = i >= before;
        if (isNew) {
            if (!out->empty()) *out += ", ";
            *out += text;
        }
        if (submenu) List(submenu, isNew || counts_.find(submenu) == counts_.end(), out);
    }
}

std::string SHostMenu::Appended() const {
    std::string out;
    List(menu_, false, &out);
    return out;
}
