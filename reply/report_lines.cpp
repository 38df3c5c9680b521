#include "reply/report_lines.h"

#include <cstring>
#include <string>

#include "addressbook/display_name.h"
#include "common/platform.h"
#include "common/text.h"

namespace {

bool EnclosedBy(std::string_view text, char open, char close) {
    return text.size() >= 2 && text.front() == open && text.back() == close;
}

// An address as the duplicate scan compares it: without one enclosing pair
// of angle brackets or parentheses, which hand-written lines may carry.
std::string_view BareAddress(std::string_view address) {
    if (EnclosedBy(address, '<', '>') || EnclosedBy(address, '(', ')'))
        return address.substr(1, address.size() - 2);
    return address;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

void QuoteReportName(const char* name, char* out, size_t outSize) {
    if (outSize == 0) return;
    out[0] = '\0';
    const std::string_view text(name);
    if (EnclosedBy(text, '"', '"')) {
        if (CopyBounded(out, outSize, text) != text.size()) out[0] = '\0';
        return;
    }
    // Between single quotes the name gets double quotes instead; either way
    // a double quote or backslash inside is escaped, as in a header.
    const std::string quoted =
        QuotedString(EnclosedBy(text, '\'', '\'') ? text.substr(1, text.size() - 2) : text);
    if (quoted.size() < outSize) CopyBounded(out, outSize, quoted);
}

bool ReportHasEntry(std::string_view contents, std::string_view quotedName,
                    std::string_view address) {
    size_t position = 0;
    while (position < contents.size()) {
        const size_t end = contents.find('\r', position);
        if (end == std::string_view::npos) return false;
        const std::string_view line = contents.substr(position, end - position);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return false;

        // Both sides alike: an address that is itself enclosed must match
        // the line it is written as.
        if (EqualIgnoringCase(line.substr(0, tab), quotedName) &&
            EqualIgnoringCase(BareAddress(line.substr(tab + 1)), BareAddress(address)))
            return true;

        position = end + 1;
        if (position < contents.size() && contents[position] == '\n') ++position;
    }
    return false;
}
