#include "addressbook/vcard.h"

#include <cstring>
#include <string_view>

#include "addressbook/compare_address.h"
#include "common/text.h"

namespace {

constexpr std::string_view kQuotedPrintableParam = ";ENCODING=QUOTED-PRINTABLE:";

size_t BoundedLength(const char* s, size_t limit) {
    const void* nul = std::memchr(s, '\0', limit);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - s) : limit;
}

// End of a quoted-printable value starting at start: the first CR that is
// not a fold (CR LF space), or size.
uint32_t ValueEnd(const char* buffer, uint32_t start, uint32_t size) {
    for (uint32_t i = start; i < size; ++i) {
        if (buffer[i] != '\r') continue;
        bool fold = i + 2 < size && buffer[i + 1] == '\n' && buffer[i + 2] == ' ';
        if (!fold) return i;
        i += 2;   // go on from the space
    }
    return size;
}

// "PROP;ENCODING=QUOTED-PRINTABLE:value" at p (the ';') becomes "PROP:"
// followed by the decoded value, NUL-padded up to the value's end e, which
// is returned.
uint32_t DecodeValueAt(char* buffer, uint32_t p, uint32_t size) {
    uint32_t valueStart = p + static_cast<uint32_t>(kQuotedPrintableParam.size());
    uint32_t e = ValueEnd(buffer, valueStart, size);
    buffer[e] = '\0';
    buffer[p] = ':';
    // Decoding stops at a NUL inside the value.
    size_t length = BoundedLength(buffer + valueStart, e - valueStart);
    char* out = buffer + p + 1;
    std::memmove(out, buffer + valueStart, length);
    size_t decoded = DecodeQuotedPrintable(out, length);
    std::memset(out + decoded, 0, (buffer + e) - (out + decoded));
    return e;
}

bool StartsWith(const char* s, size_t length, std::string_view prefix) {
    return length >= prefix.size() && std::memcmp(s, prefix.data(), prefix.size()) == 0;
}

}  // namespace

bool SVcardItem::SameOrganization(const SVcardItem& other) const {
    return FieldText(organization) == FieldText(other.organization) &&
           FieldText(unit) == FieldText(other.unit);
}

void PrepareVCardBuffer(char* buffer, uint32_t size) {
    if (!buffer) return;
    const uint32_t paramSize = static_cast<uint32_t>(kQuotedPrintableParam.size());
    uint32_t p = 0;
    while (p < size) {
        if (size - p > paramSize &&
            std::memcmp(buffer + p, kQuotedPrintableParam.data(), paramSize) == 0 &&
            buffer[p + paramSize] != '\0') {
            p = DecodeValueAt(buffer, p, size);
        }
        char c = buffer[p];
        if (c == '\r' || c == '\n' || c == ';') buffer[p] = '\0';
        ++p;
    }
}

bool FindInVCardBuffer(const char* buffer, uint32_t size, const char* address,
                       VCardFields* fields) {
    if (!buffer || !address) return false;
    VCardFields found;
    bool inside = false;
    bool match = false;
    bool answer = false;
    uint32_t i = 0;
    // The string at i (bounded by size) and the position after its NUL.
    auto next = [&](uint32_t at, size_t* length) {
        *length = BoundedLength(buffer + at, size - at);
        return at + static_cast<uint32_t>(*length) + 1;
    };
    while (i < size) {
        if (buffer[i] == '\0') {
            ++i;
            continue;
        }
        const char* s = buffer + i;
        size_t length = 0;
        i = next(i, &length);
        if (StartsWith(s, length, "BEGIN:")) {
            found = VCardFields();
            match = false;
            inside = true;
            continue;
        }
        if (StartsWith(s, length, "END:")) {
            inside = false;
            if (match) {
                answer = true;
                break;
            }
            continue;
        }
        // The value of ORG: and N: has a second component in the next string.
        auto takeSecond = [&]() -> const char* {
            if (i >= size) return nullptr;
            const char* second = buffer + i;
            size_t ignored = 0;
            i = next(i, &ignored);
            return second;
        };
        if (StartsWith(s, length, "FN:")) {
            found.fullName = s + 3;
        } else if (StartsWith(s, length, "ORG:")) {
            found.organization = s + 4;
            found.unit = takeSecond();
        } else if (StartsWith(s, length, "PREF:")) {
            if (CompareAddress(s + 5, address) == 0) match = true;
        } else if (StartsWith(s, length, "TYPE=PREF:")) {
            if (CompareAddress(s + 10, address) == 0) match = true;
        } else if (StartsWith(s, length, "EMAIL:")) {
            if (CompareAddress(s + 6, address) == 0) match = true;
        } else if (StartsWith(s, length, "N:")) {
            found.familyName = s + 2;
            found.givenName = takeSecond();
        } else if (StartsWith(s, length, "NOTE:")) {
            found.note = s + 5;
        }
        if (!inside && match) {
            answer = true;
            break;
        }
    }
    if (!answer) return false;
    if (fields) *fields = found;
    return true;
}

SVCard::SVCard(const char* path) : SSmallFile(path) { PrepareVCardBuffer(contents_, size_); }

SVCard::~SVCard() = default;

bool SVCard::FindByAddress(const char* address, VCardFields* fields) const {
    return FindInVCardBuffer(contents_, size_, address, fields);
}
