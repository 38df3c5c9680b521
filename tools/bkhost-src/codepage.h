// Conversions between the script's UTF-8 and the code pages the plug-in
// sees, through the system's converters.
#pragma once

#include <string>
#include <string_view>

#include "script_text.h"

constexpr unsigned kUtf8CodePage = 65001;

// The run's ANSI code page (GetACP).
unsigned AnsiCodePage();

// UTF-8 to a code page. False when the text is not valid UTF-8 or holds a
// character the code page cannot write.
bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string* out);
// The same, writing '?' for what the code page cannot hold, as the system
// converters do.
std::string Utf8ToCodePageLossy(std::string_view utf8, unsigned codePage);
// A code page to UTF-8; bytes the code page does not know become U+FFFD.
std::string CodePageToUtf8(std::string_view text, unsigned codePage);

// Text from one code page to another through the system's converters, '?'
// for what the target cannot hold. False when the system has no converter
// for either code page.
bool Recode(std::string_view text, unsigned from, unsigned to, std::string* out);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Script text rendered for the plug-in: text converted, raw bytes kept.
bool RenderScriptText(const SScriptText& text, unsigned codePage, std::string* out);

// What the transcript shows of text in the ANSI code page.
inline std::string Printable(std::string_view ansi) { return CodePageToUtf8(ansi, AnsiCodePage()); }
