// Display names as a recipient list holds them: wrapped in double quotes
// when they hold a character that would end or split them, and read back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Wraps a display name in double quotes when it holds a special character;
// a double quote or backslash inside is then written with a backslash before
// it. A name that already begins with a double quote is copied unchanged
// when no special character stands outside its quotes; a name between single
// quotes gets double quotes instead. A name whose quotes a reader would leave
// open at its end ("5\" floppy", "\"Ann") is always wrapped: the address
// after it would otherwise be read as part of it. A wrapped name that would
// not fit into out[0..outSize) is copied unchanged (cut to fit).
void QuoteDisplayName(char* out, size_t outSize, const char* name);

// text in double quotes, every double quote and backslash escaped, and a
// lead byte that ends the text without its second byte.
std::string QuotedString(std::string_view text);

// The text of a quoted string (text starts after the opening quote) with
// its backslash pairs resolved, up to the closing quote when toClosingQuote
// is set, else to the end.
std::string QuotedText(std::string_view text, bool toClosingQuote);

// The name as a reader shows it: a name in double quotes without them, its
// backslash pairs resolved; any other name unchanged.
std::string UnquotedDisplayName(std::string_view name);
