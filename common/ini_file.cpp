#include "common/ini_file.h"

#include <cstring>
#include <string_view>

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

}  // namespace

// Entries live on the heap and are never moved, so an unchanged value keeps
// its address.
struct SIniFile::Entry {
    std::string key;
    std::string value;
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

    std::string buffer(kIniInitialBuffer, '\0');
    size_t length = platform::ProfileGetString(section, key, fallback, &buffer[0], buffer.size(),
                                               path_);
    while (length == buffer.size() - 1 && buffer.size() < kIniValueMax) {
        buffer.resize(buffer.size() * 2);
        length = platform::ProfileGetString(section, key, fallback, &buffer[0], buffer.size(),
                                            path_);
    }
    const std::string_view value(buffer.data(), length);

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
        if (e->value != value) e->value.assign(value.data(), value.size());
        return e->value.c_str();
    }
    auto entry = std::make_unique<Entry>();
    entry->key = key;
    entry->value.assign(value.data(), value.size());
    found->entries.push_back(std::move(entry));
    return found->entries.back()->value.c_str();
}
