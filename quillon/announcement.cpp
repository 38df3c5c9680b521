#include "quillon/announcement.h"

#include <utility>

#include "common/base64.h"
#include "quillon/version_compare.h"

namespace {

constexpr std::string_view kSignatureKey = "Signature";
constexpr std::string_view kFormatKey = "Halyard-Update";
constexpr std::string_view kFormatVersion = "1";
constexpr std::string_view kJapaneseNotesKey = "Notes-ja";
constexpr size_t kSizeMaxDigits = 10;

bool IsKeyChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseDigest(std::string_view text, Sha256Digest* out) {
    if (text.size() != 2 * kSha256Bytes) return false;
    for (size_t i = 0; i < kSha256Bytes; ++i) {
        const int hi = HexValue(text[2 * i]);
        const int lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        (*out)[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

bool ParseSize(std::string_view text, uint64_t* out) {
    if (text.empty() || text.size() > kSizeMaxDigits) return false;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value == 0 || value > kInstallerMaxBytes) return false;
    *out = value;
    return true;
}

// One line split into key and value; false when it has no colon or the
// key holds anything but letters, digits and '-'.
bool SplitLine(std::string_view line, std::string_view* key, std::string_view* value) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    *key = line.substr(0, colon);
    for (char c : *key) {
        if (!IsKeyChar(c)) return false;
    }
    *value = TrimBlanks(line.substr(colon + 1));
    return true;
}

// The fields met so far; each may appear once.
struct Seen {
    bool format = false, version = false, installer = false, size = false, sha256 = false,
         notes = false, notesJa = false;
};

// Takes one known key into out; false when it is repeated or malformed.
bool TakeField(std::string_view key, std::string_view value, Seen* seen, Announcement* out) {
    auto once = [](bool* flag) { return !std::exchange(*flag, true); };
    if (key == kFormatKey) return once(&seen->format) && value == kFormatVersion;
    if (key == "Version") {
        out->versionText = std::string(value);
        return once(&seen->version) && ParseVersion(value, &out->version);
    }
    if (key == "Installer") {
        out->installer = std::string(value);
        return once(&seen->installer) && !value.empty();
    }
    if (key == "Size") return once(&seen->size) && ParseSize(value, &out->size);
    if (key == "SHA-256") return once(&seen->sha256) && ParseDigest(value, &out->sha256);
    if (key == "Notes") {
        out->notes = std::string(value);
        return once(&seen->notes);
    }
    if (key == kJapaneseNotesKey) {
        out->notesJa = std::string(value);
        return once(&seen->notesJa);
    }
    return true;  // unknown keys are for later versions of the format
}

}  // namespace

const std::string& NotesIn(const Announcement& announcement, std::string_view field) {
    if (field == kJapaneseNotesKey && !announcement.notesJa.empty()) return announcement.notesJa;
    return announcement.notes;
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t extra;
        uint32_t cp;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07; }
        else return false;
        if (text.size() - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000)) return false;
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
        i += extra + 1;
    }
    return true;
}

AnnouncementStatus ParseAnnouncement(std::string_view text, Announcement* out) {
    if (text.size() > kAnnouncementMaxBytes || !IsValidUtf8(text) ||
        text.find('\0') != std::string_view::npos) {
        return AnnouncementStatus::Invalid;
    }
    Seen seen;
    bool signatureFound = false;
    std::string_view signatureText;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (signatureFound) return AnnouncementStatus::Invalid;  // the signature comes last
        if (!line.empty()) {
            std::string_view key, value;
            if (!SplitLine(line, &key, &value)) return AnnouncementStatus::Invalid;
            if (key == kSignatureKey) {
                signatureFound = true;
                signatureText = value;
                out->signedLength = start;
            } else if (!TakeField(key, value, &seen, out)) {
                return AnnouncementStatus::Invalid;
            }
        }
        start = next;
    }
    if (!seen.format || !seen.version || !seen.installer || !seen.size || !seen.sha256) {
        return AnnouncementStatus::Invalid;
    }
    if (!seen.notes) out->notes.clear();
    if (!seen.notesJa) out->notesJa.clear();
    std::string signature;
    if (!signatureFound || !Base64Decode(signatureText, &signature) ||
        signature.size() != kSignatureBytes) {
        return AnnouncementStatus::Unsigned;
    }
    for (size_t i = 0; i < kSignatureBytes; ++i) out->signature[i] = static_cast<uint8_t>(signature[i]);
    return AnnouncementStatus::Valid;
}
