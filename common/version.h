// The standard texts of a module's version-information resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class VersionText : int {
    CompanyName,
    FileDescription,
    FileVersion,
    InternalName,
    LegalCopyright,
    LegalTradeMarks,
    OriginalFilename,
    ProductName,
    ProductVersion,
    Comments,
    Count
};

constexpr size_t kVersionTextMax = 2047;

class SVersion {
public:
    // Never fails for lack of version information (the texts stay absent);
    // throws std::bad_alloc when memory runs out.
    explicit SVersion(const char* modulePath);
    virtual ~SVersion();
    SVersion(const SVersion&) = delete;
    SVersion& operator=(const SVersion&) = delete;

    // The text, or "" when absent.
    const char* Text(VersionText which) const;
    uint16_t Language() const { return language_; }
    uint16_t CodePage() const { return codePage_; }

private:
    uint16_t language_ = 0x0409;
    uint16_t codePage_ = 0x04B0;
    std::string texts_[static_cast<int>(VersionText::Count)];
};
