#include "addressbook/address_syntax.h"

#include <cstring>

#include "common/platform.h"

bool LeadByteAt(std::string_view text, size_t i) {
    return i + 1 < text.size() && platform::IsLeadByte(static_cast<unsigned char>(text[i]));
}

size_t QuotedLength(std::string_view text, size_t at, bool* closed) {
    if (closed) *closed = false;
    size_t i = at + 1;
    while (i < text.size()) {
        if (LeadByteAt(text, i) || (text[i] == '\\' && i + 1 < text.size())) {
            i += 2;
        } else if (text[i] == '"') {
            if (closed) *closed = true;
            return i + 1 - at;
        } else {
            ++i;
        }
    }
    return text.size() - at;
}

size_t CommentLength(std::string_view text, size_t at, bool* closed) {
    if (closed) *closed = false;
    size_t depth = 0;
    size_t i = at;
    while (i < text.size()) {
        if (LeadByteAt(text, i) || (text[i] == '\\' && i + 1 < text.size())) {
            i += 2;
            continue;
        }
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && --depth == 0) {
            if (closed) *closed = true;
            return i + 1 - at;
        }
        ++i;
    }
    return text.size() - at;
}

std::string CommentText(std::string_view comment) {
    bool closed = false;
    const size_t length = CommentLength(comment, 0, &closed);
    std::string_view inner = comment.substr(1, length - 1 - (closed ? 1 : 0));
    std::string text;
    for (size_t i = 0; i < inner.size(); ++i) {
        if (LeadByteAt(inner, i)) {
            text += inner.substr(i, 2);
            ++i;
            continue;
        }
        if (inner[i] == '\\' && i + 1 < inner.size()) ++i;
        text += inner[i];
    }
    return text;
}

size_t EncodedWordLength(std::string_view text, size_t at) {
    auto word = [&](size_t i) {
        return i < text.size() && text[i] > 0x20 && text[i] < 0x7F &&
               !std::strchr("?\"()<>\\", text[i]);
    };
    if (text.substr(at, 2) != "=?") return 0;
    size_t i = at + 2;
    const size_t charset = i;
    while (word(i)) ++i;
    if (i == charset || text.substr(i, 1) != "?") return 0;
    if (i + 2 >= text.size() || text[i + 1] == '\0' || !std::strchr("BbQq", text[i + 1]) ||
        text[i + 2] != '?')
        return 0;
    i += 3;
    while (word(i)) ++i;
    return text.substr(i, 2) == "?=" ? i + 2 - at : 0;
}

size_t FindOutsideQuotesAndComments(std::string_view text, char c) {
    size_t i = 0;
    while (i < text.size()) {
        if (LeadByteAt(text, i)) {
            i += 2;
        } else if (text[i] == '"') {
            i += QuotedLength(text, i);
        } else if (text[i] == '(') {
            i += CommentLength(text, i);
        } else if (text[i] == c) {
            return i;
        } else {
            ++i;
        }
    }
    return std::string_view::npos;
}

namespace {

bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

char NextVisible(std::string_view text, size_t i) {
    while (i < text.size() && IsSpaceOrTab(text[i])) ++i;
    return i < text.size() ? text[i] : '\0';
}

}  // namespace

bool OpensRoute(std::string_view text, size_t at) { return NextVisible(text, at + 1) == '@'; }

bool RouteGoesOn(std::string_view text, size_t at) {
    const char next = NextVisible(text, at + 1);
    return next == '@' || next == ',';
}

bool EndsOpen(std::string_view text) {
    bool inRoute = false;
    size_t i = 0;
    while (i < text.size()) {
        bool closed = true;
        if (LeadByteAt(text, i)) {
            i += 2;
        } else if (text[i] == '"') {
            i += QuotedLength(text, i, &closed);
        } else if (text[i] == '(') {
            i += CommentLength(text, i, &closed);
        } else if (text[i] == '<') {
            inRoute = OpensRoute(text, i);
            ++i;
        } else {
            if (inRoute && (text[i] == ':' || text[i] == '>')) inRoute = false;
            if (inRoute && text[i] == ',' && !RouteGoesOn(text, i)) inRoute = false;
            if (platform::IsLeadByte(static_cast<unsigned char>(text[i]))) return true;
            ++i;
        }
        if (!closed) return true;
    }
    return inRoute;
}
