#include "plugin/sender_field.h"

#include <cstring>

namespace {

constexpr int kWindowTextSize = 4096;

struct Search {
    const char* label;
    size_t labelLength;
    HWND found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM parameter) {
    Search* search = reinterpret_cast<Search*>(parameter);
    char text[kWindowTextSize] = {};
    GetWindowTextA(window, text, kWindowTextSize);
    if (std::strncmp(text, search->label, search->labelLength) != 0) return TRUE;
    search->found = GetWindow(window, GW_HWNDNEXT);
    return FALSE;
}

}  // namespace

HWND FindSenderField(HWND messageView, const char* label) {
    if (!messageView || !label || !*label) return nullptr;
    // Without a parent the walk would cover every top-level window.
    HWND parent = GetParent(messageView);
    if (!parent) return nullptr;
    Search search{label, std::strlen(label), nullptr};
    EnumChildWindows(parent, VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
