#include "common/text.h"

#include <cstring>
#include <memory>

#include "common/platform.h"

namespace {

// Work buffer of CopyLocalText: the longest converted entry text.
constexpr size_t kConvertBufferSize = 16384;

bool IsSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF); }
bool IsSjisTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

size_t Utf8SequenceLength(const unsigned char* p, size_t left) {
    if (left == 0) return 0;
    unsigned char c = p[0];
    if (c < 0x80) return 1;
    size_t n;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; }
    else return 0;
    if (left < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
    if (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
    return n;
}

namespace {

// Only well-formed UTF-8 is taken as UTF-8: a conversion of anything else
// would replace local bytes by '?' and lose them.
bool IsWellFormedUtf8(const char* bytes, size_t length) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    size_t i = 0;
    while (i < length) {
        size_t n = Utf8SequenceLength(p + i, length - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

int Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 0;
}

}  // namespace

bool IsShiftJis(const char* bytes, size_t length, size_t* halfWidthKana) {
    size_t kana = 0;
    bool valid = true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = p[i];
        if (c >= 0x20 && c <= 0x7E) continue;
        if (c >= 0xA1 && c <= 0xDF) {
            ++kana;
            continue;
        }
        if (IsSjisLead(c) && i + 1 < length && IsSjisTrail(p[i + 1])) {
            ++i;
            continue;
        }
        valid = false;
        break;
    }
    if (halfWidthKana) *halfWidthKana = kana;
    return valid;
}

bool Utf8ToLocal(const char* utf8, size_t length, char* out, size_t outSize) {
    if (!utf8 || length == 0 || !out || outSize == 0) return false;
    std::string local = platform::Utf8ToAnsi(std::string_view(utf8, length));
    if (local.empty() || local.size() + 1 > outSize) return false;
    std::memcpy(out, local.data(), local.size());
    out[local.size()] = '\0';
    return true;
}

bool ConvertIfUtf8(const char* bytes, size_t length, char* out, size_t outSize) {
    if (!bytes || length == 0) return false;
    size_t kana = 0;
    if (IsShiftJis(bytes, length, &kana) && kana == 0) return false;
    if (!IsWellFormedUtf8(bytes, length)) return false;
    if (!Utf8ToLocal(bytes, length, out, outSize)) return false;
    size_t outLength = std::strlen(out);
    // The Shift_JIS check of the result only means something where the
    // local code page is Shift_JIS; elsewhere it would refuse good Latin text.
    if (platform::AnsiCodePage() == 932 && !IsShiftJis(out, outLength)) return false;
    size_t questionMarks = 0;
    for (size_t i = 0; i < outLength; ++i) questionMarks += out[i] == '?';
    return questionMarks < 2;
}

std::optional<std::string> CopyLocalText(const char* text) {
    if (!text) return std::nullopt;
    const size_t length = std::strlen(text);
    // Not cleared first: written before it is read.
    std::unique_ptr<char[]> work(new char[kConvertBufferSize]);
    if (ConvertIfUtf8(text, length, work.get(), kConvertBufferSize)) return std::string(work.get());
    return std::string(text, length);
}

size_t FindNoCase(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return 0;
    if (pattern.size() > text.size()) return std::string_view::npos;
    for (size_t i = 0; i + pattern.size() <= text.size(); ++i) {
        if (EqualNoCaseAscii(text.substr(i, pattern.size()), pattern)) return i;
    }
    return std::string_view::npos;
}

std::vector<std::string> SplitAt(std::string_view text, char delimiter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(delimiter, start);
        if (end == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (!text.empty()) parts.emplace_back();   // text ended with the delimiter
    return parts;
}

size_t DecodeQuotedPrintable(char* value, size_t length) {
    if (!value) return 0;
    size_t in = 0;
    size_t out = 0;
    while (in < length) {
        if (value[in] == '=' && length - in >= 3) {
            int byte = (16 * Digit(value[in + 1]) + Digit(value[in + 2])) & 0xFF;
            value[out++] = static_cast<char>(byte);
            in += 3;
        } else {
            value[out++] = value[in++];
        }
    }
    std::memset(value + out, 0, length - out);
    return out;
}

int CompareNoCaseAscii(const char* a, const char* b) {
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    for (;; ++a, ++b) {
        auto ca = static_cast<unsigned char>(FoldAscii(*a));
        auto cb = static_cast<unsigned char>(FoldAscii(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

bool EqualNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

size_t CopyBounded(char* out, size_t outSize, std::string_view src) {
    if (!out || outSize == 0) return 0;
    size_t n = src.size() < outSize - 1 ? src.size() : outSize - 1;
    if (n) std::memcpy(out, src.data(), n);
    out[n] = '\0';
    return n;
}

bool EndsWithSeparator(std::string_view path) {
    bool last = false;
    for (size_t i = 0; i < path.size(); ++i) {
        auto c = static_cast<unsigned char>(path[i]);
        if (platform::IsLeadByte(c) && i + 1 < path.size()) {
            ++i;
            last = false;
        } else {
            last = c == '\\' || c == '/';
        }
    }
    return last;
}

size_t DirectoryEnd(std::string_view path) {
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/') {
            end = i + 1;
        }
    }
    return end;
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.remove_prefix(1);
    std::string path(directory);
    if (!EndsWithSeparator(directory)) path += '\\';
    path += name;
    return path;
}
