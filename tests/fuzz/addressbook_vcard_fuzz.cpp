// Feeds arbitrary card files to the vCard pre-pass and FindByAddress, read
// from disk as the address book reads them. Every property handed out must
// lie inside the file's buffer and end there; and a well-formed card written
// after whatever the file holds must still be found, whole, by its address.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/compare_address.h"
#include "addressbook/vcard.h"
#include "common/text.h"
#include "fuzz/support/fuzz_support.h"

namespace {

using fuzz::Check;

// The card appended to the input: an address no input holds, values no
// earlier line can reach into.
constexpr std::string_view kKnownAddress = "known.person@card.invalid";
constexpr std::string_view kKnownCard =
    "\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:Known Person\r\nN:Person;Known;;;\r\n"
    "ORG:Known Org;Known Unit\r\nNOTE:known note\r\nEMAIL;PREF:known.person@card.invalid\r\n"
    "END:VCARD\r\n";

void CheckInside(const char* value, const SVCard& card) {
    if (!value) return;
    const char* begin = card.Contents();
    const char* end = begin + card.Size() + 1;   // the terminator is the buffer's
    Check(value >= begin && value < end, "property inside the buffer");
    Check(std::memchr(value, '\0', static_cast<size_t>(end - value)) != nullptr,
          "property ends inside the buffer");
}

bool Same(const char* value, std::string_view expected) {
    return value && std::string_view(value) == expected;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // First byte: bit 0 IgnoreCase, bit 1 the known card appended.
    const bool ignoreCase = data[0] & 1;
    const bool appendKnown = data[0] & 2;
    const std::string_view input = fuzz::Text(data + 1, size - 1);
    ChooseCompareAddress(ignoreCase);

    std::string file(input);
    if (appendKnown) file += kKnownCard;
    const std::string path = fuzz::WriteScratchFile("card.vcf", file);
    SVCard card(path.c_str());
    Check(card.Contents() != nullptr && card.Size() == file.size(), "card file read whole");
    Check(card.Contents()[card.Size()] == '\0', "buffer terminated");
    // The input's part of the prepared buffer, decoded values included, may
    // name the known address itself; its card then need not be the first.
    const bool inputNamesKnown =
        FindNoCase(std::string_view(card.Contents(), input.size()), kKnownAddress) !=
        std::string_view::npos;

    // The addresses a lookup may ask for: fixed ones and every string of
    // the prepared buffer, so that matches really happen.
    std::vector<std::string> addresses = {"", "a@x", "A@X", std::string(kKnownAddress)};
    const char* buffer = card.Contents();
    for (uint32_t i = 0; i < card.Size() && addresses.size() < 16; ++i) {
        if (buffer[i] != '\0' && (i == 0 || buffer[i - 1] == '\0')) {
            const char* colon = std::strchr(buffer + i, ':');
            addresses.emplace_back(colon ? colon + 1 : buffer + i);
        }
    }
    for (const std::string& address : addresses) {
        VCardFields fields;
        if (!card.FindByAddress(address.c_str(), &fields)) continue;
        CheckInside(fields.fullName, card);
        CheckInside(fields.organization, card);
        CheckInside(fields.unit, card);
        CheckInside(fields.familyName, card);
        CheckInside(fields.givenName, card);
        CheckInside(fields.note, card);
    }

    if (appendKnown && !inputNamesKnown) {
        VCardFields fields;
        Check(card.FindByAddress(std::string(kKnownAddress).c_str(), &fields), "known card found");
        Check(Same(fields.fullName, "Known Person") && Same(fields.familyName, "Person") &&
                  Same(fields.givenName, "Known") && Same(fields.organization, "Known Org") &&
                  Same(fields.unit, "Known Unit") && Same(fields.note, "known note"),
              "known card's values");
        Check(card.FindByAddress(Upper(kKnownAddress).c_str(), nullptr) == ignoreCase,
              "letter case of the address as IgnoreCase says");
    }
    ChooseCompareAddress(false);
    return 0;
}
