// Characters of a compose text and the columns they take. A window holds its
// text in the ANSI code page or in UTF-8; either way a line is as wide as
// the ANSI code page would make it, so that a listing wraps at the same
// column in both kinds of window.
#pragma once

#include <cstddef>
#include <string_view>

enum class TextCoding { kAnsi, kUtf8 };

// Columns of a character that the ANSI code page cannot hold: as wide as a
// double-byte character.
constexpr size_t kUnmappableWidth = 2;
// The most UTF-8 bytes a character takes per column (a one-column "€" or
// half-width kana takes 3).
constexpr size_t kMaxBytesPerColumn = 3;

struct SCharStep {
    size_t length = 1;   // bytes
    size_t width = 1;    // columns
};

// The character at text[pos] (pos < text.size()). ANSI: a lead byte and the
// byte after it are one character of two columns, any other byte one. UTF-8:
// a well-formed sequence takes the columns of its ANSI form, kUnmappableWidth
// without one; a malformed byte is one character without an ANSI form.
SCharStep NextChar(std::string_view text, size_t pos, TextCoding coding);

// Columns of a whole text.
size_t TextWidth(std::string_view text, TextCoding coding);
