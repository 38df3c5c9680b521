// Reads the standard texts of a module's version-information resource.
#include "common/version.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// In the order of VersionText.
const char* const kTextNames[] = {
    "CompanyName", "FileDescription", "FileVersion",    "InternalName", "LegalCopyright",
    "LegalTradeMarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
};
static_assert(sizeof kTextNames / sizeof kTextNames[0] == static_cast<size_t>(VersionText::Count),
              "one name per text");

}  // namespace

SVersion::SVersion(const char* modulePath) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(modulePath, &ignored);
    if (size == 0) return;

    std::vector<char> block(size);
    if (!GetFileVersionInfoA(modulePath, 0, size, block.data())) return;

    void* value = nullptr;
    UINT valueLength = 0;
    char query[] = "\\VarFileInfo\\Translation";
    if (VerQueryValueA(block.data(), query, &value, &valueLength) && value &&
        valueLength >= sizeof(DWORD)) {
        DWORD first = 0;
        std::memcpy(&first, value, sizeof first);
        language_ = LOWORD(first);
        codePage_ = HIWORD(first);
    }

    const char* const blockEnd = block.data() + block.size();
    for (int i = 0; i < static_cast<int>(VersionText::Count); ++i) {
        char path[128];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\%s",
                      static_cast<unsigned>(language_), static_cast<unsigned>(codePage_),
                      kTextNames[i]);
        char* text = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&text), &length) ||
            !text)
            continue;
        // The value lies inside the block; never read past its end.
        size_t limit = kVersionTextMax + 1;
        if (text >= block.data() && text < blockEnd) {
            size_t room = static_cast<size_t>(blockEnd - text);
            if (room < limit) limit = room;
        } else if (length < limit) {
            limit = length;
        }
        texts_[i].assign(text, std::min(strnlen(text, limit), kVersionTextMax));
    }
}

SVersion::~SVersion() = default;

const char* SVersion::Text(VersionText which) const {
    int i = static_cast<int>(which);
    if (i < 0 || i >= static_cast<int>(VersionText::Count)) return "";
    return texts_[i].c_str();
}
