// One vCard file of the host's address book, and the entry it yields.
#pragma once

#include <cstdint>

#include "common/small_file.h"

// One address-book entry; every string is an owned copy (new[]) or absent.
struct SVcardItem {
    SVcardItem() = default;
    virtual ~SVcardItem();
    SVcardItem(const SVcardItem&) = delete;
    SVcardItem& operator=(const SVcardItem&) = delete;

    // A new item with copies of every string.
    SVcardItem* Clone() const;
    // Same organization and same unit, byte for byte; absent equals empty.
    bool SameOrganization(const SVcardItem& other) const;

    char* fullName = nullptr;
    char* address = nullptr;
    char* organization = nullptr;
    char* unit = nullptr;
    char* familyName = nullptr;
    char* givenName = nullptr;
    char* note = nullptr;
};

// Pointers into an SVCard's buffer, each possibly null.
struct VCardFields {
    const char* fullName = nullptr;
    const char* organization = nullptr;
    const char* unit = nullptr;
    const char* familyName = nullptr;
    const char* givenName = nullptr;
    const char* note = nullptr;
};

class SVCard : public SSmallFile {
public:
    // Never fails; a missing or unreadable file gives no buffer.
    explicit SVCard(const char* path);
    ~SVCard() override;

    // The first card, closed by END:, holding the address.
    bool FindByAddress(const char* address, VCardFields* fields) const;
};

// The in-place pass run once over a loaded card file: lines and ';'
// components become NUL-terminated strings, quoted-printable values are
// decoded. buffer holds size bytes followed by a NUL.
void PrepareVCardBuffer(char* buffer, uint32_t size);

// The lookup over a prepared buffer (size bytes followed by a NUL).
bool FindInVCardBuffer(const char* buffer, uint32_t size, const char* address,
                       VCardFields* fields);
