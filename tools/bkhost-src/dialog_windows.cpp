#include "dialog_windows.h"

#include <vector>

#include "codepage.h"
#include "host_windows.h"

namespace {

constexpr int kBoxTextId = 0xFFFF;

struct SCollect {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM into) {
    auto* collect = reinterpret_cast<SCollect*>(into);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == collect->process && IsWindowVisible(window)) collect->found.push_back(window);
    return TRUE;
}

POINT Centre(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    return {(rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2};
}

// Mouse messages the way a click brings them, sent or (for a window of
// another thread) posted.
void MouseClickAt(HWND window, POINT point) {
    LPARAM at = MAKELPARAM(point.x, point.y);
    if (OnOtherThread(window)) {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
        return;
    }
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
}

}  // namespace

std::vector<HWND> VisibleProcessWindows() {
    SCollect collect{GetCurrentProcessId(), {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&collect));
    return collect.found;
}

bool IsDialogClass(HWND window) { return ClassOf(window) == "#32770"; }

bool IsMessageBox(HWND window) {
    if (!IsDialogClass(window) || !GetDlgItem(window, kBoxTextId)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string cls = ClassOf(child);
        int id = GetDlgCtrlID(child);
        if (cls == "static") continue;
        if (cls == "button" && id >= IDOK && id <= IDCONTINUE) continue;
        return false;
    }
    return true;
}

HWND FrontWindow() {
    std::vector<HWND> windows = VisibleProcessWindows();
    return windows.empty() ? nullptr : windows.front();
}

HWND FindWindowByTitle(std::string_view prefix) {
    for (HWND window : VisibleProcessWindows()) {
        std::string title = WindowTextUtf8(window);
        if (title.compare(0, prefix.size(), prefix) == 0) return window;
    }
    return nullptr;
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    std::string cls = WideToUtf8(name);
    for (char& c : cls)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return cls;
}

bool IsRadioButton(HWND button) {
    LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    return ClassOf(button) == "button" && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

bool IsCheckable(HWND button) {
    LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    return IsRadioButton(button) ||
           (ClassOf(button) == "button" && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                                            type == BS_3STATE || type == BS_AUTO3STATE));
}

bool OnOtherThread(HWND window) {
    return GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId();
}

void ClickControl(HWND control) {
    if (ClassOf(control) != "button") {
        MouseClickAt(control, Centre(control));
        return;
    }
    if (OnOtherThread(control)) PostMessageW(control, BM_CLICK, 0, 0);
    else SendMessageW(control, BM_CLICK, 0, 0);
}

void TypeInto(HWND edit, const std::wstring& text) {
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void ClickListItem(HWND list, int index) {
    RECT item = {};
    RECT client = {};
    GetClientRect(list, &client);
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    if (item.top < client.top || item.bottom > client.bottom) {
        SendMessageW(list, LB_SETTOPINDEX, index, 0);
        SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    }
    MouseClickAt(list, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

void PressCancel(HWND dialog) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel && IsWindowEnabled(cancel) && IsWindowVisible(cancel)) ClickControl(cancel);
    else PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool PressOk(HWND dialog) {
    HWND ok = GetDlgItem(dialog, IDOK);
    if (!ok || !IsWindowEnabled(ok) || !IsWindowVisible(ok)) return false;
    ClickControl(ok);
    return true;
}

std::string ListItemsUtf8(HWND list) {
    std::string all;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) continue;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        all += (i ? ", " : "") + WideToUtf8(text);
    }
    return all;
}
