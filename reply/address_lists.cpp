// Recipient lists as ordered lists of whole tokens: collecting, filtering
// against other lists, and joining them into the result buffer.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "common/sizes.h"
#include "common/text.h"
#include "reply/reply_all.h"

namespace {

// The tokenizer writes terminators into its input, so it gets a copy.
std::vector<char> WritableCopy(const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    std::vector<char> copy(length + 1, '\0');
    if (length) std::memcpy(copy.data(), text, length);
    return copy;
}

}  // namespace

size_t CollectAddresses(TokenList& out, const char* text, const char* excluded) {
    std::vector<char> work = WritableCopy(text);
    size_t added = 0;
    AddressCursor cursor(work.data());
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
        if (excluded && EqualNoCaseAscii(AddressOf(token), excluded)) continue;
        out.Append(token);
        ++added;
    }
    return added;
}

size_t FilterAddresses(TokenList& out, const char* text, const TokenList& exclusion) {
    std::vector<std::string> excluded;
    for (const std::string& entry : exclusion) excluded.push_back(AddressOf(entry.c_str()));

    std::vector<char> work = WritableCopy(text);
    size_t added = 0;
    AddressCursor cursor(work.data());
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
        const std::string address = AddressOf(token);
        if (address.empty()) continue;
        const bool isExcluded = std::any_of(excluded.begin(), excluded.end(),
            [&](const std::string& other) { return EqualNoCaseAscii(address, other); });
        if (isExcluded) continue;
        out.Append(token);
        ++added;
    }
    return added;
}

bool AppendJoined(char* result, size_t capacity, const TokenList& list) {
    if (!result) return false;
    size_t length = strnlen(result, kListSize);
    if (length >= kListSize) return false;
    // What this call may still use, terminator included; never beyond the buffer.
    size_t room = std::min(capacity, kListSize - length);
    for (const std::string& entry : list) {
        const size_t needed = 1 + entry.size() + 1;   // comma, entry, terminator
        if (needed > room) return false;
        result[length] = ',';
        std::memcpy(result + length + 1, entry.data(), entry.size());
        length += 1 + entry.size();
        result[length] = '\0';
        room -= needed - 1;
    }
    return true;
}
