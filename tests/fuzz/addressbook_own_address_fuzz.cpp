// Feeds arbitrary mailbox settings and recipient lists to the own-address
// removal. What must always hold: a list it refuses to change is left as it
// was; a list it changes is the tokens it had, in order, less exactly those
// holding the mailbox's own address that no permanent copy list names; a To
// left without anyone is refused.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/address_format.h"
#include "addressbook/compare_address.h"
#include "addressbook/mailbox.h"
#include "common/platform_testing.h"
#include "common/sizes.h"
#include "common/text.h"
#include "fuzz/support/fuzz_support.h"

namespace {

using fuzz::Check;

constexpr char kMailBox[] = "box.mb\\";

bool Listed(const std::vector<std::string>& list, const std::string& address) {
    for (const std::string& entry : list) {
        if (CompareAddress(entry.c_str(), address.c_str()) == 0) return true;
    }
    return false;
}

// The tokens that must stay, joined as the removal joins them.
std::string Kept(std::string list, const std::string& own, const std::vector<std::string>& permCc,
                 const std::vector<std::string>& permBcc, bool* anyKept) {
    std::string kept;
    *anyKept = false;
    AddressCursor cursor(&list[0]);
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
        const std::string address = AddressOf(token);
        if (CompareNoCaseAscii(address.c_str(), own.c_str()) == 0 && !Listed(permCc, address) &&
            !Listed(permBcc, address))
            continue;
        if (*anyKept) kept += ',';
        kept += token;
        *anyKept = true;
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // First byte: bit 0 To (else Cc), bit 1 IgnoreCase, bit 2 code page.
    const bool isTo = data[0] & 1;
    ChooseCompareAddress(data[0] & 2);
    platform::testing::SetAnsiCodePage((data[0] & 4) ? 932 : 1252);
    // Then the mailbox's settings file, a NUL, the list.
    const std::vector<std::string_view> pieces = fuzz::Pieces(fuzz::Text(data + 1, size - 1), 2);
    fuzz::WriteScratchFile(JoinPath(kMailBox, "MailBox.ini"), pieces[0]);
    const std::string dataFolder = JoinPath(fuzz::ScratchFolder(), "");
    const std::string original(pieces[1].substr(0, pieces[1].find('\0')));
    if (original.size() >= kListSize) return 0;

    std::string list(kListSize, '\0');
    list.replace(0, original.size(), original);
    std::string work(kListSize, '\0');
    const bool changed = ExcludeSelf(&list[0], isTo, dataFolder.c_str(), kMailBox, &work[0], work.size());
    const std::string after(list.c_str());

    SBeckyMailBox mailbox(dataFolder.c_str(), kMailBox);
    const std::string own = mailbox.MailAddress();
    bool anyKept = false;
    const std::string kept =
        Kept(original, own, mailbox.ReadAddressList("PermCc"), mailbox.ReadAddressList("PermBcc"), &anyKept);
    if (!changed) {
        Check(after == original, "a refused list is left as it was");
    } else {
        Check(after == kept, "the own address and nothing else removed");
        Check(anyKept || !isTo, "a To without anyone is refused");
    }
    ChooseCompareAddress(false);
    return 0;
}
