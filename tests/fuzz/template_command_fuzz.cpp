// Feeds arbitrary compose texts and recipient lists to the command parser
// and the listing, in both code pages and with small output buffers, and
// checks what must always hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/vcard.h"
#include "common/platform_testing.h"
#include "template/expand_addresses.h"
#include "template/template_command.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}


// A card made from the address itself: its first bytes pick which fields
// are present, so organisations and departments repeat and differ.
std::unique_ptr<SVcardItem> MakeCard(const char* address) {
    const size_t length = std::strlen(address);
    if (length == 0 || address[0] == 'x') return nullptr;
    auto item = std::make_unique<SVcardItem>();
    const std::string text(address, length);
    item->address = text;
    item->fullName = text.substr(0, length / 2);
    if (length > 1) item->organization = text.substr(0, 1 + (address[1] & 3));
    if (length > 2) item->unit = text.substr(1, address[2] & 3);
    if (length > 3) item->familyName = text.substr(length / 2);
    return item;
}

void ExpandAll(std::string_view text, const std::string& header, char keyword, TextCoding coding,
               size_t outSize) {
    size_t from = 0;
    STemplateCommand command;
    size_t start = 0;
    size_t end = 0;
    while (FindTemplateCommand(text, from, keyword, coding, &command, &start, &end)) {
        Check(start >= from && start < end && end <= text.size());
        Check(text[start] == '$' && text[start + 1] == keyword && text[end - 1] == ')');
        Check(command.itemCount >= 1 && command.itemCount <= kMaxItems);
        Check(command.prefixWidth <= kMaxPrefix && command.prefixLength < kPrefixSize);
        Check(command.width == -1 || command.width > 0);
        for (int i = 0; i < command.itemCount; ++i)
            Check(command.items[i].separatorWidth <= kMaxSeparator &&
                  command.items[i].separatorLength < kSeparatorSize);

        std::vector<char> list(header.begin(), header.end());
        list.push_back('\0');
        std::vector<char> out(outSize + 1, '#');
        // A UTF-8 text gets its values doubled, as a stand-in for a
        // conversion that makes them longer.
        const ValueEncoder doubled = [](std::string_view value, std::string* encoded) {
            encoded->assign(value).append(value);
            return true;
        };
        SListingTarget target;
        target.out = out.data();
        target.size = outSize;
        target.startColumn = start % 100;
        target.encode = coding == TextCoding::kUtf8 ? &doubled : nullptr;
        const std::optional<size_t> listed = ExpandCommand(command, list.data(), MakeCard, target);
        Check(listed.has_value());
        const size_t length = *listed;
        Check(length < outSize);
        Check(out[length] == '\0');
        Check(out[outSize] == '#');
        from = end;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // First byte: code page, output size and the text's coding; then the
    // text, a NUL, the header.
    const uint8_t control = data[0];
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const size_t restSize = size - 1;
    const void* split = std::memchr(rest, '\0', restSize);
    const size_t textSize = split ? static_cast<size_t>(static_cast<const char*>(split) - rest) : restSize;
    const std::string_view text(rest, textSize);
    std::string header = textSize < restSize ? std::string(rest + textSize + 1, restSize - textSize - 1) : "";
    header = header.substr(0, std::strlen(header.c_str()));

    platform::testing::SetAnsiCodePage(control & 1 ? 932 : 1252);
    static const size_t kOutSizes[] = {1, 2, 8, 33, 200, 65536};
    const size_t outSize = kOutSizes[(control >> 1) % 6];
    const TextCoding coding = control & 0x80 ? TextCoding::kUtf8 : TextCoding::kAnsi;
    ExpandAll(text, header, 't', coding, outSize);
    ExpandAll(text, header, 'c', coding, outSize);
    return 0;
}
