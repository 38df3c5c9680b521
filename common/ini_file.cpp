#include "common/ini_file.h"

#include <cstring>

#include "common/platform.h"
#include "common/text.h"

namespace {

constexpr size_t kIniInitialBuffer = 256;
// No INI value is longer; stops the growth if a reader never settles.
constexpr size_t kIniValueMax = size_t{1} << 24;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compared without regard to ASCII case; the second byte of a
// double-byte character is compared exactly.
bool SameName(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < n) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<char[]> CopyText(const char* text, size_t length) {
    std::unique_ptr<char[]> copy(new char[length + 1]);
    std::memcpy(copy.get(), text, length);
    copy[length] = '\0';
    return copy;
}

}  // namespace

struct SIniFile::Entry {
    std::string key;
    std::unique_ptr<char[]> value;
    size_t length = 0;
};

struct SIniFile::Section {
    std::string name;
    std::vector<std::unique_ptr<Entry>> entries;
};

SIniFile::SIniFile(const char* path) { CopyBounded(path_, sizeof path_, path ? path : ""); }

SIniFile::~SIniFile() = default;

const char* SIniFile::GetString(const char* section, const char* key, const char* fallback) {
    if (!section || !key) return fallback;
    if (!fallback) fallback = "";

    size_t size = kIniInitialBuffer;
    std::unique_ptr<char[]> buffer(new char[size]);
    size_t length = platform::ProfileGetString(section, key, fallback, buffer.get(), size, path_);
    while (length == size - 1 && size < kIniValueMax) {
        size *= 2;
        buffer.reset(new char[size]);
        length = platform::ProfileGetString(section, key, fallback, buffer.get(), size, path_);
    }

    Section* found = nullptr;
    for (auto& s : sections_) {
        if (SameName(s->name, section)) {
            found = s.get();
            break;
        }
    }
    if (!found) {
        sections_.push_back(std::make_unique<Section>());
        found = sections_.back().get();
        found->name = section;
    }
    for (auto& e : found->entries) {
        if (!SameName(e->key, key)) continue;
        if (e->length != length || std::memcmp(e->value.get(), buffer.get(), length) != 0) {
            e->value = CopyText(buffer.get(), length);
            e->length = length;
        }
        return e->value.get();
    }
    auto entry = std::make_unique<Entry>();
    entry->key = key;
    entry->value = CopyText(buffer.get(), length);
    entry->length = length;
    found->entries.push_back(std::move(entry));
    return found->entries.back()->value.get();
}
