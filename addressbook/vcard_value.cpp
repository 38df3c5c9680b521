#include "addressbook/vcard_value.h"

#include <cstring>

#include "common/platform.h"
#include "common/text.h"

namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kNewline = "\r\n";

// ASCII reads alike in every code page we know but this one, which
// shifts with escape sequences.
constexpr unsigned kIso2022JpCodePage = 50220;

struct CharsetName {
    std::string_view name;
    unsigned codePage;
};
// Names card writers use; "WINDOWS-n", "CPn" and "ISO-8859-n" are read apart.
constexpr CharsetName kCharsets[] = {
    {"UTF-8", kUtf8CodePage},      {"UTF8", kUtf8CodePage},
    {"SHIFT_JIS", kShiftJisCodePage}, {"SHIFT-JIS", kShiftJisCodePage},
    {"SJIS", kShiftJisCodePage},   {"X-SJIS", kShiftJisCodePage},
    {"MS_KANJI", kShiftJisCodePage}, {"WINDOWS-31J", kShiftJisCodePage},
    {"CSSHIFTJIS", kShiftJisCodePage}, {"US-ASCII", 20127},
    {"ASCII", 20127},              {"EUC-JP", 20932},
    {"ISO-2022-JP", kIso2022JpCodePage},        {"LATIN1", 28591},
};

// The number that ends name after prefix (case ignored), or 0.
unsigned NumberAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || !EqualNoCaseAscii(name.substr(0, prefix.size()), prefix))
        return 0;
    unsigned number = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9' || number > 99999) return 0;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    return number;
}

// Lead bytes of the double-byte code pages whose second byte may be a
// backslash or a ';', which then is no escape and no separator.
bool IsDoubleByteLead(unsigned codePage, unsigned char c) {
    if (codePage == kShiftJisCodePage) return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (codePage == 936 || codePage == 949 || codePage == 950) return c >= 0x81 && c <= 0xFE;
    return false;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsWellFormedUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        const size_t n = Utf8SequenceLength(p + i, text.size() - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

// The code page a value is in: its CHARSET, else the card's.
unsigned SourceCodePage(const ValueForm& form, const CardDialect& dialect) {
    return form.charsetNamed ? form.codePage : dialect.codePage;
}

// The double-byte code page to walk a raw value by, or 0 to walk it byte
// by byte. A value whose charset is not known, or that is not the UTF-8 it
// claims, is taken in the ANSI code page, as the host writes its cards.
unsigned WalkCodePage(std::string_view raw, const ValueForm& form, const CardDialect& dialect) {
    const unsigned codePage = SourceCodePage(form, dialect);
    if (codePage != 0 && codePage != kUtf8CodePage) return codePage;
    if (IsWellFormedUtf8(raw)) return 0;
    return platform::AnsiCodePage();
}

// Whether the backslash at raw[i] escapes the next byte.
bool IsEscape(std::string_view raw, size_t i, bool modern) {
    if (raw[i] != '\\' || i + 1 >= raw.size()) return false;
    return modern || raw[i + 1] == ';';
}

std::string Unescape(std::string_view raw, bool modern, unsigned walkCodePage) {
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (IsDoubleByteLead(walkCodePage, static_cast<unsigned char>(c)) && i + 1 < raw.size()) {
            out += c;
            out += raw[++i];
            continue;
        }
        if (!IsEscape(raw, i, modern)) {
            out += c;
            continue;
        }
        const char next = raw[i + 1];
        if (next == ';' || next == ',' || next == '\\') {
            out += next;
        } else if (next == 'n' || next == 'N') {
            out += kNewline;
        } else {
            out += c;   // not an escape of the format: kept as written
            continue;
        }
        ++i;
    }
    return out;
}

// Base64 as writers fold it: white space and stray bytes are passed over,
// the first '=' ends the data.
std::string DecodeBase64Text(std::string_view text) {
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        const char* at = c ? std::strchr(kBase64Alphabet, c) : nullptr;
        if (!at) continue;
        bits = (bits << 6) | static_cast<uint32_t>(at - kBase64Alphabet);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

}  // namespace

unsigned CharsetCodePage(std::string_view name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    for (const CharsetName& known : kCharsets)
        if (EqualNoCaseAscii(name, known.name)) return known.codePage;
    if (unsigned n = NumberAfter(name, "WINDOWS-")) return n;
    if (unsigned n = NumberAfter(name, "CP")) return n;
    if (unsigned n = NumberAfter(name, "ISO-8859-"); n >= 1 && n <= 15) return 28590 + n;
    return 0;
}

std::vector<std::string_view> SplitComponents(std::string_view raw, const ValueForm& form,
                                              const CardDialect& dialect) {
    const unsigned walk = WalkCodePage(raw, form, dialect);
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (IsDoubleByteLead(walk, static_cast<unsigned char>(raw[i]))) {
            ++i;
        } else if (IsEscape(raw, i, dialect.modern)) {
            ++i;
        } else if (raw[i] == ';') {
            parts.push_back(raw.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(raw.substr(start));
    return parts;
}

std::string ReadValue(std::string_view raw, const ValueForm& form, const CardDialect& dialect,
                      bool toLocal) {
    std::string text;
    if (form.encoding == ValueForm::Encoding::kBase64) {
        text = DecodeBase64Text(raw);
    } else {
        text = Unescape(raw, dialect.modern, WalkCodePage(raw, form, dialect));
        // Soft line breaks were joined when the line was read.
        if (form.encoding == ValueForm::Encoding::kQuotedPrintable)
            text.resize(DecodeQuotedPrintable(&text[0], text.size()));
    }
    // Texts are handed on NUL-terminated.
    text.resize(std::strlen(text.c_str()));
    const unsigned codePage = SourceCodePage(form, dialect);
    if (!toLocal || (IsAscii(text) && codePage != kIso2022JpCodePage)) return text;
    std::string local;
    if (codePage != 0 && platform::CodePageToAnsi(codePage, text, &local)) return local;
    return *CopyLocalText(text.c_str());
}
