// Texts and message boxes of the update check: every window is owned by
// the caller's window and carries the caption "<product> Update".
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

struct UpdateUi {
    HWND owner = nullptr;
    HINSTANCE instance = nullptr;   // Quillon32.dll, for its resources
    std::wstring product;
    std::wstring caption;
};

UpdateUi MakeUpdateUi(HWND owner, HINSTANCE instance, std::wstring product);

std::wstring LoadText(HINSTANCE instance, UINT id);
// Replaces each %s of pattern by the next argument; extra %s stay empty.
std::wstring FillText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);
// The string-table text filled with args, shown owned by ui.owner.
int ShowUpdateBox(const UpdateUi& ui, UINT textId, std::initializer_list<std::wstring_view> args,
                  UINT flags);

// The system's reason for a WinHTTP or system error; "System error N." when
// the system has no text for it.
std::wstring SystemReason(HINSTANCE instance, DWORD error);

std::wstring FromAnsi(std::string_view ansi);
std::wstring FromUtf8(std::string_view utf8);
