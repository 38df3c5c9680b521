#include "host_windows.h"

#include "codepage.h"

namespace {

constexpr wchar_t kFrameClass[] = L"BkHostFrame";

bool RegisterFrameClass() {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSW cls = {};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kFrameClass;
    registered = RegisterClassW(&cls) != 0;
    return registered;
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

bool CreateHostWindows(SHostState* host, const char* labelText) {
    if (!RegisterFrameClass()) return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    host->mainWindow = CreateWindowExW(0, kFrameClass, L"Becky! (headless)", WS_OVERLAPPEDWINDOW,
                                       0, 0, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!host->mainWindow) return false;
    host->treeWindow = Child(host->mainWindow, L"STATIC", L"", 101);
    host->listWindow = Child(host->mainWindow, L"STATIC", L"", 102);
    HWND pane = Child(host->mainWindow, kFrameClass, L"", 103);
    // Sibling order matters: the plug-in takes the window after the label.
    host->labelWindow = CreateWindowExA(0, "STATIC", labelText, WS_CHILD | WS_VISIBLE, 0, 0,
                                        100, 20, pane, reinterpret_cast<HMENU>(201), instance,
                                        nullptr);
    host->senderWindow = Child(pane, L"STATIC", L"", 202);
    Child(pane, L"STATIC", L"Subject:", 203);
    Child(pane, L"STATIC", L"", 204);
    host->viewWindow = Child(pane, L"EDIT", L"", 205);
    bool composed = true;
    for (int i = kComposeWindows - 1; i >= 0; --i) {
        SComposeWindow& compose = i == host->selected ? host->compose : host->parked[static_cast<size_t>(i)];
        compose.window = CreateWindowExW(0, kFrameClass, L"Compose", WS_OVERLAPPEDWINDOW, 0, 0, 600,
                                         400, nullptr, nullptr, instance, nullptr);
        composed = composed && compose.window;
    }
    return host->treeWindow && host->listWindow && pane && host->labelWindow &&
           host->senderWindow && host->viewWindow && composed;
}

void DestroyHostWindows(SHostState* host) {
    for (int i = 0; i < kComposeWindows; ++i) {
        SComposeWindow& compose = i == host->selected ? host->compose : host->parked[static_cast<size_t>(i)];
        if (compose.window) DestroyWindow(compose.window);
        compose.window = nullptr;
    }
    if (host->mainWindow) DestroyWindow(host->mainWindow);
    host->mainWindow = nullptr;
}

void PumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

std::string WindowTextUtf8(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return WideToUtf8(text);
}
