// The item handlers of a template command: each writes one item ("$n",
// "$o", "$s", ...) for one address into the output buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct STemplateItem;
struct SVcardItem;

// Turns a value (ANSI code page, as the address book and the host's headers
// give it) into the bytes of the window's text; false when it cannot.
using ValueEncoder = std::function<bool(std::string_view value, std::string* out)>;

// Flags of the address being listed, set before its items run.
struct SAddressFlags {
    uint8_t organizationChanged = 0;  // organization differs from the previous address
    uint8_t groupChanged = 0;         // organization or department differs from the previous
    uint8_t groupChangesNext = 0;     // the next address has another organization or department
    uint8_t lastAddress = 0;          // no address follows
};

// Everything a handler sees. Writes go to out; spaceLeft counts the bytes
// free there, the terminator's included, so n bytes fit when n < spaceLeft.
// Columns count as the ANSI code page does, whatever the bytes written.
struct SItemCall {
    const SVcardItem* entry = nullptr;     // the address being listed
    const SVcardItem* previous = nullptr;  // null for the first address
    char* out = nullptr;
    size_t spaceLeft = 0;
    const STemplateItem* item = nullptr;
    SAddressFlags flags;
    uint32_t written = 0;                  // bytes this command produced so far
    int32_t width = -1;                    // -1: no wrapping
    int64_t column = 0;                    // updated by the handler
    const ValueEncoder* encode = nullptr;  // null: values are written as they are
    bool encodeFailed = false;             // set when a value could not be encoded
};

uint32_t OrganizationItem(SItemCall& call);   // "O", "o"
uint32_t DepartmentItem(SItemCall& call);     // "I", "i"
uint32_t NameItem(SItemCall& call);           // "n"
uint32_t FamilyNameItem(SItemCall& call);     // "f"
uint32_t GivenNameItem(SItemCall& call);      // "l"
uint32_t SpaceItem(SItemCall& call);          // "s"
uint32_t BreakItem(SItemCall& call);          // "r"
