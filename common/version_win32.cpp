// Reads the standard texts of a module's version-information resource.
#include "common/version.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// In the order of VersionText.
const char* const kTextNames[] = {
    "CompanyName", "FileDescription", "FileVersion",    "InternalName", "LegalCopyright",
    "LegalTradeMarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
};
static_assert(sizeof kTextNames / sizeof kTextNames[0] == static_cast<size_t>(VersionText::Count),
              "one name per text");

// An owned NUL-terminated copy of at most kVersionTextMax bytes.
char* CopyText(const char* text, size_t length) {
    if (length > kVersionTextMax) length = kVersionTextMax;
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

}  // namespace

SVersion::SVersion(const char* modulePath) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(modulePath, &ignored);
    if (size == 0) return;

    char* block = new char[size];
    if (!GetFileVersionInfoA(modulePath, 0, size, block)) {
        delete[] block;
        return;
    }
    block_ = block;
    blockSize_ = size;

    void* value = nullptr;
    UINT valueLength = 0;
    char query[] = "\\VarFileInfo\\Translation";
    if (VerQueryValueA(block_, query, &value, &valueLength) && value &&
        valueLength >= sizeof(DWORD)) {
        DWORD first = 0;
        std::memcpy(&first, value, sizeof first);
        language_ = LOWORD(first);
        codePage_ = HIWORD(first);
    }

    try {
        for (int i = 0; i < static_cast<int>(VersionText::Count); ++i) {
            char path[128];
            std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\%s",
                          static_cast<unsigned>(language_), static_cast<unsigned>(codePage_),
                          kTextNames[i]);
            char* text = nullptr;
            UINT length = 0;
            if (!VerQueryValueA(block_, path, reinterpret_cast<void**>(&text), &length) ||
                !text) {
                texts_[i] = CopyText("", 0);
                continue;
            }
            // The value lies inside the block; never read past its end.
            size_t limit = kVersionTextMax + 1;
            const char* blockEnd = static_cast<const char*>(block_) + blockSize_;
            if (text >= static_cast<const char*>(block_) && text < blockEnd) {
                size_t room = static_cast<size_t>(blockEnd - text);
                if (room < limit) limit = room;
            } else if (length < limit) {
                limit = length;
            }
            texts_[i] = CopyText(text, strnlen(text, limit));
        }
    } catch (...) {
        for (char*& text : texts_) {
            delete[] text;
            text = nullptr;
        }
        delete[] static_cast<char*>(block_);
        throw;
    }
}

SVersion::~SVersion() {
    for (char* text : texts_) delete[] text;
    delete[] static_cast<char*>(block_);
}

const char* SVersion::Text(VersionText which) const {
    int i = static_cast<int>(which);
    if (i < 0 || i >= static_cast<int>(VersionText::Count)) return "";
    return texts_[i] ? texts_[i] : "";
}
