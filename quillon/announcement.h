// The update announcement: UTF-8 "Key: value" lines (LF or CR LF) of at
// most kAnnouncementMaxBytes, ending with the maker's signature over every
// byte before the Signature: line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kAnnouncementMaxBytes = 16 * 1024;
constexpr size_t kSha256Bytes = 32;
constexpr size_t kSignatureBytes = 64;              // r then s, big-endian
constexpr uint64_t kInstallerMaxBytes = 1ull << 30; // no installer is larger

using Sha256Digest = std::array<uint8_t, kSha256Bytes>;
using P256Signature = std::array<uint8_t, kSignatureBytes>;

struct Announcement {
    std::vector<uint32_t> version;
    std::string versionText;
    std::string installer;     // address, as written
    uint64_t size = 0;
    Sha256Digest sha256 = {};
    std::string notes;         // UTF-8, may be empty
    std::string notesJa;       // "Notes-ja": the notes in Japanese, may be empty
    size_t signedLength = 0;   // bytes before the Signature: line
    P256Signature signature = {};
};

enum class AnnouncementStatus {
    Valid,
    Invalid,     // not an announcement, or a required key missing or malformed
    Unsigned,    // well formed, but the signature is missing or not 64 bytes of base64
};

// Parses text. Invalid wins over Unsigned: a page that is no announcement
// at all is reported as such. On Valid, out holds every field; it is left
// in an unspecified state otherwise. The signature itself is checked by
// the caller against the trusted keys.
AnnouncementStatus ParseAnnouncement(std::string_view text, Announcement* out);

// The notes of the field that the user's language names ("Notes" or
// "Notes-ja"); those of "Notes" when that field is absent or empty.
const std::string& NotesIn(const Announcement& announcement, std::string_view field);

// True for well-formed UTF-8 (no overlong forms, surrogates or values
// beyond U+10FFFF).
bool IsValidUtf8(std::string_view text);
