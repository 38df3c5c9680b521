#include "quillon/ui_text_win32.h"

#include <utility>

#include "common/win32_handles.h"
#include "quillon/res/resource_ids.h"

namespace {

constexpr DWORD kWinHttpErrorFirst = 12000;   // WINHTTP_ERROR_BASE
constexpr DWORD kWinHttpErrorLast = 12999;

std::wstring Widen(UINT codePage, std::string_view text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

// Trailing line breaks and blanks of a system message dropped.
std::wstring TrimEnd(std::wstring text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

UpdateUi MakeUpdateUi(HWND owner, HINSTANCE instance, std::wstring product) {
    UpdateUi ui;
    ui.owner = owner;
    ui.instance = instance;
    ui.product = std::move(product);
    ui.caption = FillText(LoadText(instance, IDS_CAPTION), {ui.product});
    return ui;
}

std::wstring LoadText(HINSTANCE instance, UINT id) {
    // With a zero size LoadStringW hands out a pointer to the resource.
    const wchar_t* text = nullptr;
    const int n = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 && text ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

std::wstring FillText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
    std::wstring out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's') {
            if (next != args.end()) {
                out.append(next->data(), next->size());
                ++next;
            }
            ++i;
        } else {
            out.push_back(pattern[i]);
        }
    }
    return out;
}

int ShowUpdateBox(const UpdateUi& ui, UINT textId, std::initializer_list<std::wstring_view> args,
                  UINT flags) {
    const std::wstring text = FillText(LoadText(ui.instance, textId), args);
    return MessageBoxW(ui.owner, text.c_str(), ui.caption.c_str(), flags);
}

std::wstring SystemReason(HINSTANCE instance, DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    HMODULE source = nullptr;
    if (error >= kWinHttpErrorFirst && error <= kWinHttpErrorLast) {
        source = GetModuleHandleW(L"winhttp.dll");
        if (source) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    const DWORD n = FormatMessageW(flags, source, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const win32::ScopedLocalMem owned(buffer);
    std::wstring reason;
    if (n > 0 && buffer) reason = TrimEnd(std::wstring(buffer, n));
    if (reason.empty()) reason = FillText(LoadText(instance, IDS_SYSTEM_ERROR), {std::to_wstring(error)});
    return reason;
}

std::wstring FromAnsi(std::string_view ansi) { return Widen(CP_ACP, ansi); }

std::wstring FromUtf8(std::string_view utf8) { return Widen(CP_UTF8, utf8); }
