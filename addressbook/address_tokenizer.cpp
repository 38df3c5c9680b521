// NextAddressToken and SplitAddress: reading recipient lists.
#include <cstring>
#include <string>
#include <string_view>

#include "addressbook/address_format.h"
#include "addressbook/display_name.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

bool IsLead(const char* p) {
    return platform::IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0';
}

char* SkipSeparators(char* p) {
    while (*p != '\0' && (IsBlankOrControl(*p) || *p == ',' || *p == ';')) ++p;
    return p;
}

void TrimTrailing(char* start, char* end) {
    while (end > start && IsBlankOrControl(end[-1])) *--end = '\0';
}

bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsSpaceOrTab(text.front())) text.remove_prefix(1);
    return text;
}

// First occurrence of c in text outside double-byte characters (and, when
// honourQuotes, outside double quotes); npos when none.
size_t FindOutside(std::string_view text, char c, bool honourQuotes) {
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (honourQuotes && quoted && text[i] == '\\' && i + 1 < text.size()) {
            ++i;   // a quoted pair: the byte after the backslash is text
        } else if (honourQuotes && text[i] == '"') {
            quoted = !quoted;
        } else if (text[i] == c && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The first piece of text when split at delimiter, as strtok finds it:
// leading delimiters skipped, the piece runs to the next one or the end.
std::string_view FirstPiece(std::string_view text, char delimiter) {
    size_t start = text.find_first_not_of(delimiter);
    if (start == std::string_view::npos) return {};
    text.remove_prefix(start);
    return text.substr(0, text.find(delimiter));
}

// Length of a group label ("team:") at the start of a token, colon
// included; 0 when the token does not begin with a phrase and a colon.
size_t GroupLabelLength(const char* token) {
    bool quoted = false;
    for (const char* p = token; *p != '\0'; ++p) {
        if (IsLead(p)) {
            ++p;
        } else if (quoted) {
            if (*p == '\\' && p[1] != '\0') ++p;
            else if (*p == '"') quoted = false;
        } else if (*p == '"') {
            quoted = true;
        } else if (*p == ':') {
            return p == token ? 0 : static_cast<size_t>(p - token) + 1;
        } else if (std::strchr("<>@()", *p)) {
            return 0;   // an address or a comment comes first
        }
    }
    return 0;
}

void Store(char* out, size_t outSize, std::string_view text) {
    size_t n = CopyBounded(out, outSize, text);
    while (n > 1 && IsSpaceOrTab(out[n - 1])) out[--n] = '\0';
}

// One token as the separators delimit it, group labels included; rest
// moves past it (null at the end).
char* NextRawToken(char*& rest) {
    char* p = rest;
    rest = nullptr;
    if (!p) return nullptr;
    p = SkipSeparators(p);
    if (*p == '(') {
        char* close = std::strchr(p, ')');
        if (!close) return nullptr;
        p = SkipSeparators(close + 1);
    }
    if (*p == '\0') return nullptr;

    char* start = p;
    bool quoted = false;
    while (*p != '\0') {
        if (IsLead(p)) {
            p += 2;
        } else if (quoted && *p == '\\' && p[1] != '\0') {
            p += 2;   // a quoted pair: an escaped quote does not end the name
        } else if (*p == '(' && !quoted) {
            // A comment, up to its ')'. Inside quotes a '(' is part of the
            // name: a comment there would end at an escaped quote and split
            // the name at its next comma.
            char* close = std::strchr(p, ')');
            p = close ? close + 1 : p + std::strlen(p);
        } else if (*p == '"') {
            quoted = !quoted;
            ++p;
        } else if ((*p == ',' || *p == ';') && !quoted) {
            *p = '\0';
            rest = p + 1;
            TrimTrailing(start, p);
            return start;
        } else {
            ++p;
        }
    }
    TrimTrailing(start, p);
    return start;
}

}  // namespace

char* NextAddressToken(AddressCursor& cursor) {
    for (char* token = NextRawToken(cursor.rest_); token; token = NextRawToken(cursor.rest_)) {
        // A group's label names no recipient: its members are plain entries,
        // and an empty group ("undisclosed-recipients:;") yields none.
        token += GroupLabelLength(token);
        while (*token != '\0' && IsBlankOrControl(*token)) ++token;
        if (*token != '\0') return token;
    }
    return nullptr;
}

void SplitAddress(char* nameOut, size_t nameSize, char* addressOut, size_t addressSize,
                  const char* token) {
    if (nameOut && nameSize) nameOut[0] = '\0';
    if (addressOut && addressSize) addressOut[0] = '\0';
    if (!token) return;
    const std::string copy(token);
    std::string_view text = TrimLeft(copy);
    std::string name;
    std::string_view address;

    size_t angle = FindOutside(text, '<', true);
    if (angle != std::string_view::npos) {
        address = TrimLeft(FirstPiece(text.substr(angle + 1), '>'));
        if (angle > 0) {
            std::string_view before = text.substr(0, angle);
            if (before.front() == '"') {
                // Empty between the quotes ("" <x@example.com>) is no name.
                name = QuotedText(before.substr(1), true);
            } else {
                name = TrimLeft(before);
            }
        }
    } else {
        size_t paren = FindOutside(text, '(', false);
        if (paren != std::string_view::npos) {
            name = std::string(TrimLeft(FirstPiece(text.substr(paren + 1), ')')));
            address = TrimLeft(text.substr(0, paren));
        } else {
            address = text;
        }
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
