#include "addressbook/display_name.h"

#include <cstring>

#include "common/platform.h"
#include "common/text.h"

namespace {

constexpr char kQuotedCharacters[] = ",;:.@*()<>/?+|";

bool IsSpecial(char c) { return c != '\0' && std::strchr(kQuotedCharacters, c); }

bool HoldsSpecial(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        // The second byte of a double-byte character may look like one.
        if (platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (IsSpecial(text[i])) return true;
    }
    return false;
}

// How a reader of the list, walking the name as the tokenizer and the
// splitter do, sees it: whether a special character stands outside double
// quotes, and whether it is still inside quotes at the end (the address
// after the name would then be read as part of it).
struct QuoteScan {
    bool specialOutside = false;
    bool endsInside = false;
};

QuoteScan ScanQuotes(std::string_view text) {
    QuoteScan scan;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        } else if (quoted && text[i] == '\\' && i + 1 < text.size()) {
            ++i;   // a quoted pair
        } else if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && IsSpecial(text[i])) {
            scan.specialOutside = true;
        }
    }
    scan.endsInside = quoted;
    return scan;
}

bool Enclosed(std::string_view text, char mark) {
    return text.size() >= 2 && text.front() == mark && text.back() == mark;
}

}  // namespace

std::string QuotedString(std::string_view text) {
    std::string quoted = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const bool lead = platform::IsLeadByte(static_cast<unsigned char>(text[i]));
        if (lead && i + 1 < text.size()) {
            quoted += text.substr(i, 2);
            ++i;
            continue;
        }
        // A lead byte without its second byte (a name cut inside a
        // character) would take the closing quote as that byte.
        if (text[i] == '"' || text[i] == '\\' || lead) quoted += '\\';
        quoted += text[i];
    }
    quoted += '"';
    return quoted;
}

void QuoteDisplayName(char* out, size_t outSize, const char* name) {
    if (!out || outSize == 0) return;
    const std::string_view text(name ? name : "");
    // A name that begins with a double quote is taken as quoted already when
    // it reads so; any other name when nothing in it would end or split it.
    // A name whose quotes a reader would leave open never is.
    const QuoteScan scan = ScanQuotes(text);
    const bool asItIs = text.empty() || (!scan.endsInside && (text.front() == '"'
                                                                  ? !scan.specialOutside
                                                                  : !HoldsSpecial(text)));
    if (asItIs) {
        CopyBounded(out, outSize, text);
        return;
    }
    const std::string quoted =
        QuotedString(Enclosed(text, '\'') ? text.substr(1, text.size() - 2) : text);
    CopyBounded(out, outSize, quoted.size() < outSize ? std::string_view(quoted) : text);
}

std::string QuotedText(std::string_view text, bool toClosingQuote) {
    std::string resolved;
    for (size_t i = 0; i < text.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            resolved += text.substr(i, 2);
            ++i;
            continue;
        }
        if (toClosingQuote && text[i] == '"') break;
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        resolved += text[i];
    }
    return resolved;
}

std::string UnquotedDisplayName(std::string_view name) {
    if (!Enclosed(name, '"')) return std::string(name);
    return QuotedText(name.substr(1, name.size() - 2), false);
}
