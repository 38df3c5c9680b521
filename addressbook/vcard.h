// One vCard file of the host's address book, and the entry it yields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/small_file.h"

// One address-book entry. A field is absent when the card has no such line,
// which is not the same as an empty one: a present but empty display name
// lists the address instead.
struct SVcardItem {
    // Same organization and same unit, byte for byte; absent equals empty.
    bool SameOrganization(const SVcardItem& other) const;

    std::optional<std::string> fullName;
    std::optional<std::string> address;
    std::optional<std::string> organization;
    std::optional<std::string> unit;
    std::optional<std::string> familyName;
    std::optional<std::string> givenName;
    std::optional<std::string> note;
};

// A field's text; an absent one reads as empty.
inline std::string_view FieldText(const std::optional<std::string>& field) {
    return field ? std::string_view(*field) : std::string_view();
}

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
