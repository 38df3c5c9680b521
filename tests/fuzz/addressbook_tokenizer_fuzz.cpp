// Feeds arbitrary recipient lists to the tokenizer, the splitter and the
// list rewriting, in both code pages, and checks what must always hold:
// tokens and split parts stay inside their buffers, a rewritten list holds
// as many recipients as the list, and, where the addresses are plain, reads
// back as the same addresses in the same order (no recipient lost, split or
// merged).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "common/platform_testing.h"
#include "common/sizes.h"
#include "fuzz/support/fuzz_support.h"
#include "settings/settings.h"

namespace {

using fuzz::Check;

constexpr size_t kSmallOut = 64;

bool Blank(char c) { return c == ' ' || c == '\t'; }

// Both outputs end inside their buffers; neither ends in a blank unless
// that blank is its only byte.
void SplitAndCheck(const char* token, size_t size) {
    std::vector<char> name(size, 'X');
    std::vector<char> address(size, 'X');
    SplitAddress(name.data(), size, address.data(), size, token);
    for (const std::vector<char>* out : {&name, &address}) {
        const void* nul = std::memchr(out->data(), '\0', size);
        Check(nul != nullptr, "split part terminated");
        size_t length = static_cast<size_t>(static_cast<const char*>(nul) - out->data());
        Check(length < size, "split part inside its buffer");
        if (length > 1) Check(!Blank((*out)[length - 1]), "split part without trailing blank");
    }
}

// The addresses of a list, empty ones left out, as the rewriting reads them.
std::vector<std::string> Addresses(std::string list) {
    std::vector<std::string> addresses;
    AddressCursor cursor(&list[0]);
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
        std::string address = AddressOf(token);
        if (!address.empty()) addresses.push_back(address);
    }
    return addresses;
}

// An address as mail carries it: printable ASCII without the characters
// that delimit names, comments, groups and lists. Only for such addresses
// can the rewritten list be read back: one that holds "<" or ":" itself
// reads differently in another form.
bool PlainAddress(const std::string& address) {
    for (char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || std::strchr("<>()[]\\\",;:", c)) return false;
    }
    return true;
}

// The list rewritten without an address book: every name comes from the
// list itself and is written in the chosen form, whatever it holds.
void RewriteAndCheck(const std::string& list, uint8_t control) {
    SSettings settings{SSettings::DefaultsTag{}};
    settings.replyFormat = 1 + (control >> 2) % 3;   // address, name <address>, address (name)
    const bool encode = control & 0x10;
    const size_t outSize = (control & 0x20) ? kSmallOut : kListSize;
    size_t reported = 0;
    std::vector<char> out(outSize + 1, '#');
    const bool ok = RewriteAddressList(list.c_str(), encode, "",
                                       [&](const char*) { ++reported; }, out.data(), outSize,
                                       settings, nullptr, nullptr);
    Check(out[outSize] == '#', "rewriting stays inside its buffer");
    const std::string rewritten(out.data());
    Check(rewritten.size() < outSize, "rewritten list terminated");
    Check(ok != rewritten.empty(), "an empty result is a failure");
    if (!ok) return;
    const std::vector<std::string> before = Addresses(list);
    Check(reported == before.size(), "every unlisted address reported once");
    // Whatever the addresses hold, none is lost, split or merged.
    const std::vector<std::string> after = Addresses(rewritten);
    Check(after.size() == before.size(), "rewritten list holds as many recipients");
    for (const std::string& address : before) {
        if (!PlainAddress(address)) return;
    }
    Check(after == before, "rewritten list holds the same addresses");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // First byte: bit 0 code page, bit 1 small split buffers, the rest the
    // rewriting's form, encoding and output size.
    platform::testing::SetAnsiCodePage((data[0] & 1) ? 932 : 1252);
    const size_t splitSize = (data[0] & 2) ? 8 : kNameSize;
    std::string list(reinterpret_cast<const char*>(data) + 1, size - 1);
    list.resize(std::strlen(list.c_str()));
    const std::string original = list;

    SplitAndCheck(original.c_str(), splitSize);
    size_t count = 0;
    AddressCursor cursor(&list[0]);
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
        // Tokens lie inside the list, are not empty, and carry no blanks or
        // control bytes at either end.
        Check(token >= list.data() && token < list.data() + list.size(), "token inside the list");
        size_t length = std::strlen(token);
        Check(length > 0, "token not empty");
        Check(static_cast<unsigned char>(token[0]) > 0x20 &&
                  static_cast<unsigned char>(token[length - 1]) > 0x20,
              "token trimmed");
        SplitAndCheck(token, splitSize);
        Check(++count <= original.size(), "tokens end");
    }
    Check(NextAddressToken(cursor) == nullptr, "nothing after the end");

    RewriteAndCheck(original, data[0]);
    return 0;
}
