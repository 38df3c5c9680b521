// One vCard file of the host's address book, and the entry it yields.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// One card of a file, closed by END, as the lookup reads it: its addresses
// as written, its texts in the ANSI code page.
struct VCardEntry {
    std::vector<std::string> addresses;
    std::optional<std::string> fullName;
    std::optional<std::string> organization;
    std::optional<std::string> unit;
    std::optional<std::string> familyName;
    std::optional<std::string> givenName;
    std::optional<std::string> note;
};

// Pointers into the texts of a card an SVCard holds, each possibly null.
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
    // Never fails; a missing or unreadable file gives no buffer and no card.
    explicit SVCard(const char* path);
    ~SVCard() override;

    // The first card, closed by END, holding the address. The texts live as
    // long as this object.
    bool FindByAddress(const char* address, VCardFields* fields) const;

private:
    std::vector<VCardEntry> cards_;
};

// The cards of a card file, in file order, read once when it is loaded.
std::vector<VCardEntry> ReadVCards(std::string_view file);

// The first of cards holding the address.
bool FindInVCards(const std::vector<VCardEntry>& cards, const char* address, VCardFields* fields);

// The entry of a found card: copies of its texts, which are in the ANSI code
// page already, and of the address looked up.
std::unique_ptr<SVcardItem> MakeVcardItem(const VCardFields& fields, const char* address);
