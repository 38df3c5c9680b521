#include "codepage.h"

#include <windows.h>

namespace {

std::wstring ToWide(std::string_view text, unsigned codePage, DWORD flags, bool* ok) {
    *ok = true;
    if (text.empty()) return {};
    int size = static_cast<int>(text.size());
    int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (n <= 0) {
        *ok = false;
        return {};
    }
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, &wide[0], n);
    return wide;
}

bool FromWide(std::wstring_view wide, unsigned codePage, std::string* out) {
    out->clear();
    if (wide.empty()) return true;
    int size = static_cast<int>(wide.size());
    bool utf = codePage == CP_UTF8;
    DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                usedDefaultOut);
    if (n <= 0 || usedDefault) return false;
    out->resize(static_cast<size_t>(n));
    WideCharToMultiByte(codePage, flags, wide.data(), size, &(*out)[0], n, nullptr,
                        usedDefaultOut);
    return !usedDefault;
}

}  // namespace

unsigned AnsiCodePage() { return GetACP(); }

bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string* out) {
    bool ok = false;
    std::wstring wide = ToWide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, &ok);
    if (!ok) return false;
    if (codePage == CP_UTF8) {
        out->assign(utf8);
        return true;
    }
    return FromWide(wide, codePage, out);
}

std::string Utf8ToCodePageLossy(std::string_view utf8, unsigned codePage) {
    bool ok = false;
    std::wstring wide = ToWide(utf8, CP_UTF8, 0, &ok);
    if (wide.empty()) return {};
    int size = static_cast<int>(wide.size());
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, &out[0], n, nullptr, nullptr);
    return out;
}

bool Recode(std::string_view text, unsigned from, unsigned to, std::string* out) {
    out->clear();
    if (text.empty()) return IsValidCodePage(from) && IsValidCodePage(to);
    bool ok = false;
    std::wstring wide = ToWide(text, from, 0, &ok);
    if (!ok) return false;
    int size = static_cast<int>(wide.size());
    DWORD flags = to == CP_UTF8 || to == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(to, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    out->resize(static_cast<size_t>(n));
    WideCharToMultiByte(to, flags, wide.data(), size, &(*out)[0], n, nullptr, nullptr);
    return true;
}

std::string CodePageToUtf8(std::string_view text, unsigned codePage) {
    bool ok = false;
    std::wstring wide = ToWide(text, codePage, 0, &ok);
    if (!ok) return std::string(text);
    return WideToUtf8(wide);
}

std::wstring Utf8ToWide(std::string_view utf8) {
    bool ok = false;
    return ToWide(utf8, CP_UTF8, 0, &ok);
}

std::string WideToUtf8(std::wstring_view wide) {
    std::string out;
    FromWide(wide, CP_UTF8, &out);
    return out;
}

bool RenderScriptText(const SScriptText& text, unsigned codePage, std::string* out) {
    out->clear();
    for (const STextPiece& piece : text.Pieces()) {
        if (piece.raw) {
            *out += piece.bytes;
            continue;
        }
        std::string converted;
        if (!Utf8ToCodePage(piece.bytes, codePage, &converted)) return false;
        *out += converted;
    }
    return true;
}
