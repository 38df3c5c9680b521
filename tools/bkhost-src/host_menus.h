// Menus shaped as the host's: type 0 the main window's menu bar, type 10 the
// compose window's menu bar, the other types a pop-up menu. After the
// plug-in's menu set-up, what it appended is listed.
#pragma once

#include <windows.h>

#include <map>
#include <string>

class SHostMenu {
public:
    explicit SHostMenu(int type);
    ~SHostMenu();
    SHostMenu(const SHostMenu&) = delete;
    SHostMenu& operator=(const SHostMenu&) = delete;

    HMENU Handle() const { return menu_; }
    // The items appended since construction, "TEXT, ---, TEXT [bitmap]".
    std::string Appended() const;

private:
    void Remember(HMENU menu);
    void List(HMENU menu, bool allNew, std::string* out) const;

    HMENU menu_ = nullptr;
    std::map<HMENU, int> counts_;   // items of each menu before the set-up
};
