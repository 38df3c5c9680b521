#include "reply_header_checker.h"

#include <cctype>
#include <cstring>

#include "common/base64.h"
#include "common/platform.h"

namespace headercheck {
namespace {

constexpr char kAtomSpecials[] = "!#$%&'*+-/=?^_`{|}~";

bool IsAtext(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    // Bytes above ASCII: the raw local text of a header that is not encoded.
    return (u >= 0x80) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9') || (c != '\0' && std::strchr(kAtomSpecials, c));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool DecodeQ(std::string_view text, std::string* out) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_') {
            *out += ' ';
        } else if (text[i] == '=') {
            if (i + 2 >= text.size()) return false;
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high < 0 || low < 0) return false;
            *out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            *out += text[i];
        }
    }
    return true;
}

// ISO-2022-JP (ASCII and JIS X 0208) to Shift_JIS by the standard mapping.
bool Iso2022JpToShiftJis(std::string_view jis, std::string* out) {
    bool twoByte = false;
    for (size_t i = 0; i < jis.size();) {
        if (jis.substr(i, 3) == "\x1B$B" || jis.substr(i, 3) == "\x1B$@") {
            twoByte = true;
            i += 3;
        } else if (jis.substr(i, 3) == "\x1B(B" || jis.substr(i, 3) == "\x1B(J") {
            twoByte = false;
            i += 3;
        } else if (!twoByte) {
            *out += jis[i++];
        } else {
            if (i + 1 >= jis.size() || platform::AnsiCodePage() != 932) return false;
            const unsigned j1 = static_cast<unsigned char>(jis[i]);
            const unsigned j2 = static_cast<unsigned char>(jis[i + 1]);
            if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E) return false;
            const unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
            const unsigned s2 = (j1 & 1) ? j2 + (j2 >= 0x60 ? 0x20 : 0x1F) : j2 + 0x7E;
            *out += static_cast<char>(s1);
            *out += static_cast<char>(s2);
            i += 2;
        }
    }
    return !twoByte;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// One encoded word "=?charset?B|Q?text?=" into local text; false when the
// atom is not one (or cannot be decoded).
bool DecodeEncodedWord(std::string_view atom, std::string* out) {
    if (atom.size() < 8 || atom.substr(0, 2) != "=?" || atom.substr(atom.size() - 2) != "?=")
        return false;
    const std::string_view inner = atom.substr(2, atom.size() - 4);
    const size_t q1 = inner.find('?');
    if (q1 == std::string_view::npos || q1 + 2 >= inner.size() || inner[q1 + 2] != '?') return false;
    const std::string_view charset = inner.substr(0, q1);
    const char encoding = inner[q1 + 1];
    const std::string_view text = inner.substr(q1 + 3);
    std::string bytes;
    const bool decoded = (encoding == 'B' || encoding == 'b') ? Base64Decode(text, &bytes)
                       : (encoding == 'Q' || encoding == 'q') ? DecodeQ(text, &bytes)
                       : false;
    if (!decoded) return false;
    if (EqualNoCase(charset, "UTF-8")) {
        *out = platform::Utf8ToAnsi(bytes);
        return !out->empty() || bytes.empty();
    }
    if (EqualNoCase(charset, "ISO-2022-JP")) return Iso2022JpToShiftJis(bytes, out);
    return false;
}

// The words of a comment with its encoded words decoded (blanks between
// two encoded words dropped), as readers show a comment taken for a name.
std::string DecodeWords(const std::string& text) {
    std::string shown;
    bool lastEncoded = false;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != ' ') continue;
        const std::string word = text.substr(start, i - start);
        std::string decoded;
        const bool encoded = DecodeEncodedWord(word, &decoded);
        if (start > 0 && !(encoded && lastEncoded)) shown += ' ';
        shown += encoded ? decoded : word;
        lastEncoded = encoded;
        start = i + 1;
    }
    return shown;
}

// Whether text[i] starts a double-byte character of the code page: its
// second byte, whatever it is ('\\', '"', ')'), belongs to it.
bool DoubleByteAt(std::string_view text, size_t i) {
    return i + 1 < text.size() && platform::IsLeadByte(static_cast<unsigned char>(text[i]));
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool ParseList(std::vector<Mailbox>* out) {
        if (!SkipCfws()) return false;
        if (AtEnd()) return Fail("no address");
        for (;;) {
            if (!ParseAddress(out)) return false;
            if (!SkipCfws()) return false;
            if (AtEnd()) return true;
            if (!Take(',')) return Fail("expected ','");
            // The obsolete list form: empty members (", ,") name nobody.
            do {
                if (!SkipCfws()) return false;
            } while (Take(','));
            if (AtEnd()) return true;
        }
    }

    std::string error;

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }
    bool Fail(const std::string& why) {
        if (error.empty()) error = why + " at byte " + std::to_string(pos_);
        return false;
    }

    // One comment at '(': nested comments kept in its text, quoted pairs
    // resolved, quotes plain text. False when it is never closed.
    bool Comment(std::string* text) {
        int depth = 0;
        for (;;) {
            if (AtEnd()) return Fail("unclosed comment");
            if (DoubleByteAt(text_, pos_)) {
                *text += text_.substr(pos_, 2);
                pos_ += 2;
                continue;
            }
            const char c = text_[pos_++];
            if (c == '\\') {
                if (AtEnd()) return Fail("unclosed comment");
                *text += text_[pos_++];
                continue;
            }
            if (c == '(' && depth++ == 0) continue;
            if (c == ')' && --depth == 0) return true;
            *text += c;
        }
    }

    // Blanks, folded line breaks and comments; the first comment's text
    // into *firstComment. False on a comment that is never closed.
    bool SkipCfws(std::string* firstComment = nullptr, bool* any = nullptr) {
        bool commented = false;
        for (;;) {
            const size_t start = pos_;
            while (!AtEnd() && std::strchr(" \t\r\n", text_[pos_])) ++pos_;
            if (any && pos_ > start) *any = true;
            if (Peek() != '(') return true;
            if (any) *any = true;
            std::string text;
            if (!Comment(&text)) return false;
            if (firstComment && !commented) *firstComment = text;
            commented = true;
        }
    }

    bool Atom(std::string* out) {
        const size_t start = pos_;
        while (!AtEnd()) {
            if (DoubleByteAt(text_, pos_)) pos_ += 2;
            else if (IsAtext(text_[pos_])) ++pos_;
            else break;
        }
        *out = std::string(text_.substr(start, pos_ - start));
        return pos_ > start;
    }

    bool QuotedString(std::string* out) {
        if (!Take('"')) return false;
        while (!AtEnd() && Peek() != '"') {
            if (DoubleByteAt(text_, pos_)) {
                *out += text_.substr(pos_, 2);
                pos_ += 2;
                continue;
            }
            if (Peek() == '\\') {
                ++pos_;
                if (AtEnd()) break;
            }
            *out += text_[pos_++];
        }
        return Take('"') || Fail("unclosed quoted string");
    }

    // A phrase: words (atoms, quoted strings, and after the first word the
    // obsolete "." of "John Q. Public") joined by one blank where blanks or
    // comments part them, by nothing where they touch; encoded words
    // decoded, and blanks between two encoded words dropped.
    bool Phrase(std::string* out, size_t* words) {
        bool lastEncoded = false;
        *words = 0;
        for (;;) {
            bool gap = false;
            if (!SkipCfws(nullptr, &gap)) return false;
            std::string word;
            bool encoded = false;
            if (Peek() == '"') {
                if (!QuotedString(&word)) return false;
            } else if (Peek() == '.' && *words > 0) {
                word = ".";
                ++pos_;
            } else if (IsAtext(Peek()) || DoubleByteAt(text_, pos_)) {
                std::string atom;
                Atom(&atom);
                encoded = DecodeEncodedWord(atom, &word);
                if (!encoded) {
                    if (atom.find("=?") != std::string::npos) return Fail("bad encoded word " + atom);
                    word = atom;
                }
            } else {
                return true;
            }
            if (*words > 0 && gap && !(encoded && lastEncoded)) *out += ' ';
            *out += word;
            lastEncoded = encoded;
            ++*words;
        }
    }

    bool DotAtom(std::string* out) {
        std::string atom;
        if (!Atom(&atom)) return false;
        *out += atom;
        while (Peek() == '.') {
            ++pos_;
            if (!Atom(&atom)) return false;
            *out += '.' + atom;
        }
        return true;
    }

    bool AddrSpec(std::string* out) {
        if (!SkipCfws()) return false;
        std::string local;
        if (Peek() == '"') {
            // The quotes stay: they are part of the address.
            if (!QuotedString(&local)) return false;
            local = "\"" + local + "\"";
        } else if (!DotAtom(&local)) {
            return Fail("bad local part");
        }
        if (!SkipCfws()) return false;
        if (!Take('@')) return Fail("expected '@'");
        if (!SkipCfws()) return false;
        std::string domain;
        if (!DotAtom(&domain)) return Fail("bad domain");
        *out = local + "@" + domain;
        return true;
    }

    // The obsolete route before an address in angle brackets
    // ("@relay.example,@other.example:"), which names no recipient.
    bool SkipRoute() {
        if (!SkipCfws()) return false;
        if (Peek() != '@') return true;
        while (Take('@') || Take(',')) {
            std::string domain;
            if (!SkipCfws()) return false;
            if (Peek() == '@' || Peek() == ',') continue;
            if (!DotAtom(&domain)) return Fail("bad route");
            if (!SkipCfws()) return false;
        }
        return Take(':') || Fail("expected ':' after the route");
    }

    bool Mailbox(std::vector<headercheck::Mailbox>* out) {
        const size_t start = pos_;
        headercheck::Mailbox box;
        size_t words = 0;
        if (Phrase(&box.name, &words) && SkipCfws() && Take('<')) {
            if (!SkipRoute() || !AddrSpec(&box.address)) return false;
            if (!SkipCfws()) return false;
            if (!Take('>')) return Fail("expected '>'");
            out->push_back(box);
            return true;
        }
        if (!error.empty()) return false;
        // A bare address: the comment after it, as in "address (name)",
        // is taken for the name, as mail programs show it.
        pos_ = start;
        box.name.clear();
        if (!AddrSpec(&box.address)) return false;
        std::string comment;
        if (!SkipCfws(&comment)) return false;
        box.name = DecodeWords(comment);
        out->push_back(box);
        return true;
    }

    bool ParseAddress(std::vector<headercheck::Mailbox>* out) {
        const size_t start = pos_;
        std::string label;
        size_t words = 0;
        if (Phrase(&label, &words) && words > 0 && SkipCfws() && Take(':')) {
            if (!SkipCfws()) return false;
            while (!Take(';')) {
                if (!Mailbox(out)) return false;
                if (!SkipCfws()) return false;
                if (Take(',')) {
                    if (!SkipCfws()) return false;
                } else if (Peek() != ';') {
                    return Fail("expected ';'");
                }
            }
            return true;
        }
        if (!error.empty()) return false;
        pos_ = start;
        return Mailbox(out);
    }

    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace

bool ParseAddressList(std::string_view header, std::vector<Mailbox>* out, std::string* error) {
    Reader reader(header);
    out->clear();
    const bool ok = reader.ParseList(out);
    if (error) *error = reader.error;
    return ok;
}

}  // namespace headercheck
