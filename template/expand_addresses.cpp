#include "template/expand_addresses.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "addressbook/vcard.h"
#include "common/sizes.h"
#include "template/template_command.h"
#include "template/template_items.h"

namespace {

using EntryList = std::vector<std::unique_ptr<SVcardItem>>;

// Every recipient of the list, looked up; an unlisted one keeps the name
// and address written in the header.
EntryList CollectEntries(char* header, const CardLookup& lookup) {
    std::vector<const char*> tokens;
    AddressCursor cursor(header);
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor))
        tokens.push_back(token);

    EntryList entries;
    entries.reserve(tokens.size());
    auto name = std::make_unique<char[]>(kNameSize);
    auto address = std::make_unique<char[]>(kNameSize);
    for (const char* token : tokens) {
        SplitAddress(name.get(), kNameSize, address.get(), kNameSize, token);
        std::unique_ptr<SVcardItem> entry;
        if (address[0] != '\0' && lookup) entry = lookup(address.get());
        if (!entry) {
            entry = std::make_unique<SVcardItem>();
            entry->fullName = std::string(name.get());
            entry->address = std::string(address.get());
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

SAddressFlags FlagsFor(const SVcardItem& entry, const SVcardItem* previous, const SVcardItem* next) {
    SAddressFlags flags;
    flags.organizationChanged =
        !previous || FieldText(previous->organization) != FieldText(entry.organization);
    flags.groupChanged = !previous || !previous->SameOrganization(entry);
    flags.groupChangesNext = next && !next->SameOrganization(entry);
    flags.lastAddress = next == nullptr;
    return flags;
}

}  // namespace

std::optional<size_t> ExpandCommand(const STemplateCommand& command, char* header,
                                    const CardLookup& lookup, const SListingTarget& target) {
    char* const out = target.out;
    const size_t outSize = target.size;
    if (outSize == 0) return 0;
    out[0] = '\0';
    const size_t prefixLength = command.prefixLength;
    if (prefixLength >= outSize) return 0;
    memcpy(out, command.prefix, prefixLength);

    const EntryList entries = CollectEntries(header, lookup);
    size_t pos = prefixLength;
    uint32_t written = 0;
    int64_t column = static_cast<int64_t>(target.startColumn + command.prefixWidth);
    for (size_t i = 0; i < entries.size(); ++i) {
        SItemCall call;
        call.entry = entries[i].get();
        call.previous = i > 0 ? entries[i - 1].get() : nullptr;
        const SVcardItem* next = i + 1 < entries.size() ? entries[i + 1].get() : nullptr;
        call.flags = FlagsFor(*call.entry, call.previous, next);
        call.width = command.width;
        call.encode = target.encode;
        for (int j = 0; j < command.itemCount && pos + 1 < outSize; ++j) {
            const STemplateItem& item = command.items[j];
            if (!item.handler) continue;
            call.item = &item;
            call.out = out + pos;
            call.spaceLeft = outSize - pos;
            call.written = written;
            call.column = column;
            const uint32_t count = item.handler(call);
            if (call.encodeFailed) {
                out[0] = '\0';
                return std::nullopt;
            }
            column = call.column;
            written += count;
            pos += count;
        }
    }
    if (written == 0) pos = 0;
    out[pos] = '\0';
    return pos;
}
