// Feeds arbitrary card files to the card reader and FindByAddress, read
// from disk as the address book reads them. The line ends a file uses do
// not change what is read from it; and a well-formed card written after
// whatever the file holds (but an open AGENT) must still be found, whole,
// by its address.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/compare_address.h"
#include "addressbook/vcard.h"
#include "common/platform_testing.h"
#include "common/text.h"
#include "fuzz/support/fuzz_support.h"

namespace {

using fuzz::Check;

// The card appended to the input, after an empty line that ends whatever
// value the input left open: an address no input holds.
constexpr std::string_view kKnownAddress = "known.person@card.invalid";
constexpr std::string_view kKnownCard =
    "\r\n\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:Known Person\r\nN:Person;Known;;;\r\n"
    "ORG:Known Org;Known Unit\r\nNOTE:known note\r\nEMAIL;PREF:known.person@card.invalid\r\n"
    "END:VCARD\r\n";

bool Same(const char* value, std::string_view expected) {
    return value && std::string_view(value) == expected;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// Every line end (CR LF, LF, CR, NUL) written as CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n' && c != '\0') {
            out += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += "\r\n";
    }
    return out;
}

bool SameCards(const std::vector<VCardEntry>& a, const std::vector<VCardEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].addresses != b[i].addresses || a[i].fullName != b[i].fullName ||
            a[i].organization != b[i].organization || a[i].unit != b[i].unit ||
            a[i].familyName != b[i].familyName || a[i].givenName != b[i].givenName ||
            a[i].note != b[i].note)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // First byte: bit 0 IgnoreCase, bit 1 the known card appended, bit 2
    // the Japanese code page.
    const bool ignoreCase = data[0] & 1;
    const bool appendKnown = data[0] & 2;
    platform::testing::SetAnsiCodePage((data[0] & 4) ? 932 : 1252);
    const std::string_view input = fuzz::Text(data + 1, size - 1);
    ChooseCompareAddress(ignoreCase);

    const std::vector<VCardEntry> inputCards = ReadVCards(input);
    for (const VCardEntry& card : inputCards) {
        // Texts are handed on NUL-terminated: none holds a NUL.
        for (const auto* text : {&card.fullName, &card.organization, &card.unit,
                                 &card.familyName, &card.givenName, &card.note})
            Check(!*text || (*text)->find('\0') == std::string::npos, "no NUL inside a text");
    }
    Check(SameCards(inputCards, ReadVCards(WithCrLf(input))), "line ends change nothing");

    std::string file(input);
    if (appendKnown) file += kKnownCard;
    const std::string path = fuzz::WriteScratchFile("card.vcf", file);
    SVCard card(path.c_str());
    Check(card.Contents() != nullptr && card.Size() == file.size(), "card file read whole");

    // The addresses a lookup may ask for: fixed ones and every address the
    // input's cards hold, so that matches really happen. Each is found in
    // the first card holding it.
    std::vector<std::string> addresses = {"", "a@x", "A@X", std::string(kKnownAddress)};
    for (const VCardEntry& entry : inputCards)
        for (const std::string& address : entry.addresses)
            if (addresses.size() < 16) addresses.push_back(address);
    for (const std::string& address : addresses) {
        VCardFields fields;
        const bool found = card.FindByAddress(address.c_str(), &fields);
        VCardFields expected;
        if (FindInVCards(inputCards, address.c_str(), &expected)) {
            Check(found, "an input card's address is found");
            Check(std::strcmp(fields.fullName ? fields.fullName : "-",
                              expected.fullName ? expected.fullName : "-") == 0,
                  "the first card holding it");
        }
    }

    bool inputNamesKnown = false;
    for (const VCardEntry& entry : inputCards)
        for (const std::string& address : entry.addresses)
            inputNamesKnown |= EqualNoCaseAscii(address, kKnownAddress);
    // An AGENT line left open at the end would take the card as its agent's.
    const bool inputHasAgent = FindNoCase(input, "AGENT") != std::string_view::npos;
    if (appendKnown && !inputNamesKnown && !inputHasAgent) {
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
