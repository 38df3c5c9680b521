// Display names as a recipient list holds them: read from the words before
// an address, and written so that every reader reads them back unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Writes an address-book name as a recipient list holds it. A name that
// already begins with a double quote is copied unchanged when a reader
// finds it closed and nothing special outside its quotes; otherwise the
// name is written with PhraseOf, a name between single quotes getting
// double quotes instead of them when it needs quoting at all. A name that
// would not fit into out[0..outSize) is copied unchanged (cut to fit).
void QuoteDisplayName(char* out, size_t outSize, const char* name);

// The name (as a reader shows it) written as display-name words that read
// back as exactly that name: as it is when it is plain words, else in
// double quotes with every '"' and '\' escaped. Encoded words never go
// inside quotes: they stand as they are, and the words between them are
// quoted run by run where needed.
std::string PhraseOf(std::string_view name);

// The name a reader shows for the words of a display name (the text before
// an angle address): quoted words without their quotes and with their
// backslash pairs resolved, comments dropped, words parted by blanks or
// comments joined by one space. Encoded words are kept as they stand.
std::string ReadPhrase(std::string_view text);

// One RFC 2047 encoded word, checked strictly: "=?" charset "?" B or Q (in
// either case) "?" text "?=", the charset a token, the text well-formed for
// its encoding and free of anything that would end a display-name word.
bool IsEncodedWord(std::string_view word);

// Whether one of the blank-separated words of name is an encoded word.
bool HoldsEncodedWord(std::string_view name);

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
