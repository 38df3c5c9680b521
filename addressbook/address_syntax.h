// The pieces of recipient text that every reader of a list takes whole, as
// RFC 5322 reads them: double-byte characters, quoted strings and comments.
// A lead byte always takes the next byte with it, even a '\', '"' or ')'
// (the second byte of many Shift_JIS characters is a '\').
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True when text[i] is the lead byte of a double-byte character whose
// second byte lies inside text.
bool LeadByteAt(std::string_view text, size_t i);

// The length of the quoted string that starts at text[at] (a '"'), both
// quotes included; a backslash makes the byte after it text. One that is
// not closed runs to the end of text (*closed then false).
size_t QuotedLength(std::string_view text, size_t at, bool* closed = nullptr);

// The length of the comment that starts at text[at] (a '('), up to the ')'
// that closes it: comments nest, a backslash makes the byte after it text,
// and quotes inside are text. One that is not closed runs to the end of
// text (*closed then false).
size_t CommentLength(std::string_view text, size_t at, bool* closed = nullptr);

// What a comment (outer parentheses included, the closing one optional)
// says: the text inside, nested parentheses kept, backslash pairs resolved.
std::string CommentText(std::string_view comment);

// The length of the encoded word ("=?charset?B?text?=") that starts at
// text[at], read as loosely as readers decode them: no blank, quote,
// parenthesis, angle bracket or backslash inside, no '?' in its text; 0
// when none starts there. Mail programs write such words
// with a ',' inside, which then is no separator.
size_t EncodedWordLength(std::string_view text, size_t at);

// The first c in text that stands outside quoted strings, comments and
// double-byte characters; npos when none does.
size_t FindOutsideQuotesAndComments(std::string_view text, char c);

// Whether the '<' at text[at] opens an obsolete route
// ("<@relay.example,@other.example:user@example.com>").
bool OpensRoute(std::string_view text, size_t at);

// Whether the ',' at text[at], inside a route, goes on with the route (the
// next relay or another comma follows) rather than ending the recipient.
bool RouteGoesOn(std::string_view text, size_t at);

// Whether text, read as one recipient, leaves something open that would
// take in what follows it in a list: a quoted string, a comment or a route
// not closed, or a lead byte without its second byte at the end.
bool EndsOpen(std::string_view text);
