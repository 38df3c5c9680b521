// Feeds arbitrary bytes to the vCard pre-pass and lookup, and checks that
// every property handed out lies inside the buffer and ends there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "addressbook/compare_address.h"
#include "addressbook/vcard.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckInside(const char* value, const std::vector<char>& buffer) {
    if (!value) return;
    const char* begin = buffer.data();
    const char* end = begin + buffer.size();
    Check(value >= begin && value < end);
    Check(std::memchr(value, '\0', static_cast<size_t>(end - value)) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    ChooseCompareAddress((data[0] & 1) != 0);
    std::vector<char> buffer(reinterpret_cast<const char*>(data) + 1,
                             reinterpret_cast<const char*>(data) + size);
    const uint32_t length = static_cast<uint32_t>(buffer.size());
    buffer.push_back('\0');
    PrepareVCardBuffer(buffer.data(), length);
    Check(buffer[length] == '\0');

    // The addresses a lookup may ask for: fixed ones and every string of
    // the prepared buffer, so that matches really happen.
    std::vector<std::string> addresses = {"", "a@x", "A@X"};
    for (uint32_t i = 0; i < length && addresses.size() < 16; ++i) {
        if (buffer[i] != '\0' && (i == 0 || buffer[i - 1] == '\0')) {
            const char* s = buffer.data() + i;
            const char* colon = std::strchr(s, ':');
            addresses.emplace_back(colon ? colon + 1 : s);
        }
    }
    for (const std::string& address : addresses) {
        VCardFields fields;
        if (!FindInVCardBuffer(buffer.data(), length, address.c_str(), &fields)) continue;
        CheckInside(fields.fullName, buffer);
        CheckInside(fields.organization, buffer);
        CheckInside(fields.unit, buffer);
        CheckInside(fields.familyName, buffer);
        CheckInside(fields.givenName, buffer);
        CheckInside(fields.note, buffer);
    }
    ChooseCompareAddress(false);
    return 0;
}
