// NextAddressToken and SplitAddress: reading recipient lists as RFC 5322
// reads them, with the looser forms mail programs write taken as before.
#include <cstring>
#include <string>
#include <string_view>

#include "addressbook/address_format.h"
#include "addressbook/address_syntax.h"
#include "addressbook/display_name.h"
#include "common/sizes.h"
#include "common/text.h"

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

bool IsSeparator(char c) { return c == ',' || c == ';'; }

bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

size_t SkipSeparators(std::string_view text, size_t i) {
    while (i < text.size() && (IsBlankOrControl(text[i]) || IsSeparator(text[i]))) ++i;
    return i;
}

void TrimTrailing(char* start, char* end) {
    while (end > start && IsBlankOrControl(end[-1])) *--end = '\0';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsSpaceOrTab(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text) {
    text = TrimLeft(text);
    while (!text.empty() && IsSpaceOrTab(text.back())) text.remove_suffix(1);
    return text;
}

// Length of a group label ("team:", "team (all):") at the start of a
// token, colon included; 0 when the token does not begin with words and a
// colon outside quotes and comments.
size_t GroupLabelLength(std::string_view token) {
    bool word = false;
    size_t i = 0;
    while (i < token.size()) {
        const char c = token[i];
        bool closed = true;
        if (LeadByteAt(token, i)) {
            i += 2;
            word = true;
        } else if (c == '"') {
            i += QuotedLength(token, i, &closed);
            word = true;
        } else if (c == '(') {
            i += CommentLength(token, i, &closed);
        } else if (c == ':') {
            return word ? i + 1 : 0;
        } else if (std::strchr("<>@)", c)) {
            return 0;   // an address comes first
        } else {
            word = word || !IsBlankOrControl(c);
            ++i;
        }
        if (!closed) return 0;
    }
    return 0;
}

// Whether text holds nothing but blanks and comments: no recipient, only
// something said about one ("another: (empty);").
bool OnlyComments(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlankOrControl(text[i])) {
            ++i;
        } else if (text[i] == '(') {
            i += CommentLength(text, i);
        } else {
            return false;
        }
    }
    return true;
}

// One token as the separators delimit it, group labels included; rest
// moves past it (null at the end).
char* NextRawToken(char*& rest, char* end) {
    if (!rest) return nullptr;
    char* const base = rest;
    rest = nullptr;
    const std::string_view text(base, static_cast<size_t>(end - base));
    size_t i = SkipSeparators(text, 0);
    if (i < text.size() && text[i] == '(') {
        // A comment before a recipient says nothing about it; one that is
        // never closed leaves nothing to read.
        bool closed = false;
        i += CommentLength(text, i, &closed);
        if (!closed) return nullptr;
        i = SkipSeparators(text, i);
    }
    if (i >= text.size()) return nullptr;

    const size_t start = i;
    bool inRoute = false;
    while (i < text.size()) {
        const char c = text[i];
        if (LeadByteAt(text, i)) {
            i += 2;
        } else if (c == '"') {
            i += QuotedLength(text, i);
        } else if (c == '(') {
            i += CommentLength(text, i);
        } else if (const size_t word = EncodedWordLength(text, i)) {
            i += word;
        } else if (c == '<') {
            inRoute = OpensRoute(text, i);
            ++i;
        } else if (inRoute && (c == ':' || c == '>')) {
            inRoute = false;
            ++i;
        } else if (inRoute && c == ',' && RouteGoesOn(text, i)) {
            ++i;   // the commas of a route part relays, not recipients
        } else if (IsSeparator(c)) {
            base[i] = '\0';
            rest = base + i + 1;
            TrimTrailing(base + start, base + i);
            return base + start;
        } else {
            ++i;
        }
    }
    TrimTrailing(base + start, base + text.size());
    return base + start;
}

// The address inside angle brackets (text starts after the '<'): up to the
// '>' that stands outside quotes and comments, or to the end when none
// does; leading '>' skipped, and an obsolete route ("@relay.example:")
// before the address left out.
std::string AngleAddress(std::string_view text) {
    while (!text.empty() && text.front() == '>') text.remove_prefix(1);
    const size_t close = FindOutsideQuotesAndComments(text, '>');
    std::string_view trimmed = TrimLeft(text.substr(0, close));
    if (!trimmed.empty() && trimmed.front() == '@') {
        const size_t colon = FindOutsideQuotesAndComments(trimmed, ':');
        if (colon != std::string_view::npos) trimmed = TrimLeft(trimmed.substr(colon + 1));
    }
    return std::string(trimmed);
}

// The first '(' outside quotes and double-byte characters; npos when none.
size_t FirstComment(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        if (LeadByteAt(text, i)) {
            i += 2;
        } else if (text[i] == '"') {
            i += QuotedLength(text, i);
        } else if (text[i] == '(') {
            return i;
        } else {
            ++i;
        }
    }
    return std::string_view::npos;
}

void Store(char* out, size_t outSize, std::string_view text) {
    size_t n = CopyBounded(out, outSize, text);
    while (n > 1 && IsSpaceOrTab(out[n - 1])) out[--n] = '\0';
}

}  // namespace

char* NextAddressToken(AddressCursor& cursor) {
    for (char* token = NextRawToken(cursor.rest_, cursor.end_); token;
         token = NextRawToken(cursor.rest_, cursor.end_)) {
        // A group's label names no recipient: its members are plain entries,
        // and an empty group ("undisclosed-recipients:;") yields none.
        token += GroupLabelLength(token);
        while (*token != '\0' && IsBlankOrControl(*token)) ++token;
        if (!OnlyComments(token)) return token;
    }
    return nullptr;
}

void SplitAddress(char* nameOut, size_t nameSize, char* addressOut, size_t addressSize,
                  const char* token) {
    if (nameOut && nameSize) nameOut[0] = '\0';
    if (addressOut && addressSize) addressOut[0] = '\0';
    if (!token) return;
    const std::string copy(token);
    const std::string_view text = TrimLeft(copy);
    std::string name;
    std::string address;

    const size_t angle = FindOutsideQuotesAndComments(text, '<');
    if (angle != std::string_view::npos) {
        // name <address>: the name is every word before the angle address.
        address = AngleAddress(text.substr(angle + 1));
        name = ReadPhrase(text.substr(0, angle));
    } else if (const size_t paren = FirstComment(text); paren != std::string_view::npos) {
        // address (name): the comment after the address names it.
        size_t comment = paren;
        std::string_view beside = Trim(text.substr(0, paren));
        if (beside.empty()) {
            // A comment before the address: the one after it, if any, names it.
            const size_t after = paren + CommentLength(text, paren);
            const size_t next = FirstComment(text.substr(after));
            beside = Trim(text.substr(after, next));
            if (next != std::string_view::npos && !beside.empty()) comment = after + next;
        }
        name = std::string(TrimLeft(CommentText(text.substr(comment, CommentLength(text, comment)))));
        address = std::string(beside);
    } else {
        address = std::string(text);
    }
    if (nameOut && nameSize) Store(nameOut, nameSize, name);
    if (addressOut && addressSize) Store(addressOut, addressSize, address);
}

std::string AddressOf(const char* text) {
    char name[kNameSize];
    char address[kNameSize];
    SplitAddress(name, sizeof name, address, sizeof address, text ? text : "");
    return address;
}
