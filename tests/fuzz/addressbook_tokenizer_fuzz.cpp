// Feeds arbitrary recipient lists to the tokenizer and the splitter in both
// code pages, and checks what must always hold for their outputs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "common/platform_testing.h"
#include "common/sizes.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// Both outputs end inside their buffers; neither ends in a blank unless
// that blank is its only byte.
void SplitAndCheck(const char* token, size_t size) {
    std::vector<char> name(size, 'X');
    std::vector<char> address(size, 'X');
    SplitAddress(name.data(), size, address.data(), size, token);
    for (const std::vector<char>* out : {&name, &address}) {
        const void* nul = std::memchr(out->data(), '\0', size);
        Check(nul != nullptr);
        size_t length = static_cast<size_t>(static_cast<const char*>(nul) - out->data());
        Check(length < size);
        if (length > 1) Check(!Blank((*out)[length - 1]));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    platform::testing::SetAnsiCodePage((data[0] & 1) ? 932 : 1252);
    const size_t splitSize = (data[0] & 2) ? 8 : kNameSize;
    std::string list(reinterpret_cast<const char*>(data) + 1, size - 1);
    list.resize(std::strlen(list.c_str()));
    const std::string original = list;

    SplitAndCheck(original.c_str(), splitSize);
    size_t count = 0;
    for (char* token = NextAddressToken(&list[0]); token; token = NextAddressToken(nullptr)) {
        // Tokens lie inside the list, are not empty, and carry no blanks or
        // control bytes at either end.
        Check(token >= list.data() && token < list.data() + list.size());
        size_t length = std::strlen(token);
        Check(length > 0);
        Check(static_cast<unsigned char>(token[0]) > 0x20);
        Check(static_cast<unsigned char>(token[length - 1]) > 0x20);
        SplitAndCheck(token, splitSize);
        Check(++count <= original.size());
    }
    Check(NextAddressToken(nullptr) == nullptr);
    return 0;
}
