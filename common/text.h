// Small text helpers shared by the address book, the reply processing and
// the attachment scan. Text is bytes in the ANSI code page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// True when bytes form valid Shift_JIS without control characters.
// halfWidthKana, when given, receives the count of bytes 0xA1..0xDF.
bool IsShiftJis(const char* bytes, size_t length, size_t* halfWidthKana = nullptr);

// UTF-8 to the ANSI code page; written only when the result fits into out
// (terminator included). True when at least one character was produced.
bool Utf8ToLocal(const char* utf8, size_t length, char* out, size_t outSize);

// Length of the well-formed UTF-8 character at p (left bytes available),
// or 0 when none starts there.
size_t Utf8SequenceLength(const unsigned char* p, size_t left);

// True when the text was taken as UTF-8 and out holds its local form.
bool ConvertIfUtf8(const char* bytes, size_t length, char* out, size_t outSize);

// A copy, converted from UTF-8 by the ConvertIfUtf8 rule (16 KiB work
// buffer). An absent text gives an absent copy: nullptr in, nullopt out.
std::optional<std::string> CopyLocalText(const char* text);

// First position of pattern in text, ASCII letters compared without case;
// npos when absent. An empty pattern matches at 0.
size_t FindNoCase(std::string_view text, std::string_view pattern);

// Segments ended by the delimiter, empty ones included; a non-empty text
// that ends with the delimiter gives one more, empty, element.
std::vector<std::string> SplitAt(std::string_view text, char delimiter);

// Decodes quoted-printable "=XX" sequences of value[0..length) in place:
// an '=' is decoded only when it and two more bytes lie inside the value.
// Bytes freed at the end are set to zero. Returns the decoded length.
size_t DecodeQuotedPrintable(char* value, size_t length);

// ASCII-only case folding comparisons (never locale dependent).
int CompareNoCaseAscii(const char* a, const char* b);
bool EqualNoCaseAscii(std::string_view a, std::string_view b);

// Copies src into out[0..outSize) with a terminator, cutting when needed.
// Returns the number of bytes copied (without terminator).
size_t CopyBounded(char* out, size_t outSize, std::string_view src);

// Joins a directory and a name with one backslash, never doubling a
// separator ("C:\data\" + "AddrBook" gives "C:\data\AddrBook").
std::string JoinPath(std::string_view directory, std::string_view name);
// Whether the last character of a local-code-page path is a separator; the
// trail byte of a double-byte character (0x5C in many kanji) is not one.
bool EndsWithSeparator(std::string_view path);
// Length of the directory part of a local-code-page path, up to and
// including its last separator; 0 when it has none.
size_t DirectoryEnd(std::string_view path);
