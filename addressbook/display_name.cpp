#include "addressbook/display_name.h"

#include <cstring>
#include <vector>

#include "addressbook/address_syntax.h"
#include "common/platform.h"
#include "common/text.h"

namespace {

// Characters that end or split a display-name word for some reader: the
// RFC 5322 specials, and those a simpler reader treats alike.
constexpr char kQuotedCharacters[] = ",;:.@*()<>/?+|[]\\\"";
// RFC 2047 "especials": what a charset name may not hold.
constexpr char kEncodedWordSpecials[] = "()<>@,;:\"/[]?.=";
// What Q-encoded text may hold besides letters and digits and still be one
// word of a display name ("=" only before two hex digits).
constexpr char kQTextMarks[] = "!#$%&'*+-/=^_`{|}~";

bool IsSpecial(char c) { return c != '\0' && std::strchr(kQuotedCharacters, c); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether written bare the name would read back as something else: a
// special character (the second byte of a double-byte character is none),
// a control byte, blanks a reader would fold (leading, trailing, doubled),
// or a lead byte at the end that would take the next byte for its own.
bool NeedsQuoting(std::string_view text) {
    if (text.empty()) return false;
    if (text.front() == ' ' || text.back() == ' ') return true;
    for (size_t i = 0; i < text.size(); ++i) {
        if (LeadByteAt(text, i)) {
            ++i;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (platform::IsLeadByte(byte)) return true;   // the last byte, alone
        if (byte < 0x20 || byte == 0x7F || IsSpecial(text[i])) return true;
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') return true;
    }
    return false;
}

// Whether a name that begins with a double quote already is header text:
// every quote closed, and nothing special outside the quotes.
bool ReadsAsHeaderText(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        if (LeadByteAt(text, i)) {
            i += 2;
        } else if (text[i] == '"') {
            bool closed = false;
            i += QuotedLength(text, i, &closed);
            if (!closed) return false;
        } else if (IsSpecial(text[i])) {
            return false;
        } else {
            ++i;
        }
    }
    return true;
}

bool Enclosed(std::string_view text, char mark) {
    return text.size() >= 2 && text.front() == mark && text.back() == mark;
}

bool IsBase64Text(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return false;
    size_t padding = 0;
    while (padding < 2 && text[text.size() - 1 - padding] == '=') ++padding;
    for (size_t i = 0; i < text.size() - padding; ++i) {
        if (!IsAlnum(text[i]) && text[i] != '+' && text[i] != '/') return false;
    }
    return true;
}

bool IsQText(std::string_view text) {
    if (text.empty()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=') {
            if (i + 2 >= text.size() || !IsHex(text[i + 1]) || !IsHex(text[i + 2])) return false;
            i += 2;
        } else if (!IsAlnum(text[i]) && !std::strchr(kQTextMarks, text[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> WordsAtBlanks(std::string_view name) {
    std::vector<std::string_view> words;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == ' ') {
            words.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return words;
}

std::string Quoted(std::string_view run) {
    return NeedsQuoting(run) ? QuotedString(run) : std::string(run);
}

}  // namespace

bool IsEncodedWord(std::string_view word) {
    if (word.size() < 9 || word.substr(0, 2) != "=?" || word.substr(word.size() - 2) != "?=")
        return false;
    const std::string_view inner = word.substr(2, word.size() - 4);
    const size_t mark = inner.find('?');
    if (mark == 0 || mark == std::string_view::npos || mark + 3 > inner.size() ||
        inner[mark + 2] != '?')
        return false;
    for (char c : inner.substr(0, mark)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || std::strchr(kEncodedWordSpecials, c)) return false;
    }
    const std::string_view text = inner.substr(mark + 3);
    switch (inner[mark + 1]) {
        case 'B':
        case 'b':
            return IsBase64Text(text);
        case 'Q':
        case 'q':
            return IsQText(text);
        default:
            return false;
    }
}

bool HoldsEncodedWord(std::string_view name) {
    for (std::string_view word : WordsAtBlanks(name)) {
        if (IsEncodedWord(word)) return true;
    }
    return false;
}

std::string PhraseOf(std::string_view name) {
    if (!HoldsEncodedWord(name)) return Quoted(name);
    // A reader decodes an encoded word only where it stands as a word of
    // its own; inside quotes it would show the code.
    std::string written;
    std::string run;
    bool inRun = false;
    auto append = [&](std::string_view piece) {
        if (!written.empty()) written += ' ';
        written += piece;
    };
    auto flushRun = [&] {
        // Blanks alone between two encoded words are dropped by a reader.
        if (inRun && run.find_first_not_of(' ') != std::string::npos) append(Quoted(run));
        run.clear();
        inRun = false;
    };
    for (std::string_view word : WordsAtBlanks(name)) {
        if (IsEncodedWord(word)) {
            flushRun();
            append(word);
        } else {
            if (inRun) run += ' ';
            run += word;
            inRun = true;
        }
    }
    flushRun();
    return written;
}

std::string ReadPhrase(std::string_view text) {
    std::string name;
    bool gap = false;   // blanks or a comment since the last word
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            gap = true;
            ++i;
            continue;
        }
        if (text[i] == '(') {
            gap = true;
            i += CommentLength(text, i);
            continue;
        }
        if (gap && !name.empty()) name += ' ';
        gap = false;
        if (text[i] == '"') {
            const size_t length = QuotedLength(text, i);
            name += QuotedText(text.substr(i + 1, length - 1), true);
            i += length;
            continue;
        }
        while (i < text.size() && !IsBlank(text[i]) && text[i] != '"' && text[i] != '(') {
            const size_t length = LeadByteAt(text, i) ? 2 : 1;
            name += text.substr(i, length);
            i += length;
        }
    }
    return name;
}

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
    if (text.empty() || (text.front() == '"' && ReadsAsHeaderText(text))) {
        CopyBounded(out, outSize, text);
        return;
    }
    std::string_view value = text;
    if (NeedsQuoting(text) && Enclosed(text, '\'')) value = text.substr(1, text.size() - 2);
    const std::string written = PhraseOf(value);
    CopyBounded(out, outSize, written.size() < outSize ? std::string_view(written) : text);
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
