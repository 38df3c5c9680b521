// SBeckyMailBox and ExcludeSelf: keeping the user's own address out of
// reply recipients.
#include "addressbook/mailbox.h"

#include <cstring>
#include <string>
#include <string_view>

#include "addressbook/address_format.h"
#include "addressbook/compare_address.h"
#include "common/sizes.h"
#include "common/text.h"

namespace {

constexpr char kSection[] = "Account";
constexpr size_t kDataFolderMax = 255;
constexpr size_t kMailBoxMax = 515;
constexpr size_t kListAddressSize = 1024;   // split buffers of a mailbox list

bool Listed(const std::vector<std::string>& list, const char* address) {
    for (const auto& entry : list) {
        if (CompareAddress(entry.c_str(), address) == 0) return true;
    }
    return false;
}

}  // namespace

SBeckyMailBox::SBeckyMailBox(const char* dataFolder, const char* mailBox) {
    if (!dataFolder || !mailBox) return;
    if (std::strlen(dataFolder) > kDataFolderMax || std::strlen(mailBox) > kMailBoxMax) return;
    std::string path = JoinPath(JoinPath(dataFolder, mailBox), "MailBox.ini");
    // A path the system cannot open must not be cut into another one.
    if (path.size() >= kPathSize) return;
    ini_ = std::make_unique<SIniFile>(path.c_str());
}

SBeckyMailBox::~SBeckyMailBox() = default;

const char* SBeckyMailBox::MailAddress() {
    return ini_ ? ini_->GetString(kSection, "MailAddress", "") : "";
}

std::vector<std::string> SBeckyMailBox::ReadAddressList(const char* key) {
    std::vector<std::string> addresses;
    if (!ini_ || !key) return addresses;
    const char* value = ini_->GetString(kSection, key, "");
    char name[kListAddressSize];
    char address[kListAddressSize];
    for (const std::string& element : SplitAt(value, ',')) {
        SplitAddress(name, sizeof name, address, sizeof address, element.c_str());
        if (address[0] != '\0') addresses.emplace_back(address);
    }
    return addresses;
}

bool ExcludeSelf(char* list, bool isTo, const char* dataFolder, const char* mailBox, char* work,
                 size_t workSize) {
    if (!list || !work || workSize == 0) return false;
    size_t listLength = std::strlen(list);
    if (listLength >= workSize || listLength >= kListSize) return false;

    SBeckyMailBox mailbox(dataFolder, mailBox);
    const std::string own = mailbox.MailAddress();
    std::memcpy(work, list, listLength + 1);
    AddressCursor cursor(work);
    char* token = NextAddressToken(cursor);
    if (!token) return false;

    std::vector<std::string> permCc;
    std::vector<std::string> permBcc;
    bool listsRead = false;
    char name[kNameSize];
    char address[kNameSize];
    std::string kept;
    bool anyKept = false;
    bool fits = true;
    for (; token; token = NextAddressToken(cursor)) {
        SplitAddress(name, sizeof name, address, sizeof address, token);
        if (!listsRead) {
            permCc = mailbox.ReadAddressList("PermCc");
            permBcc = mailbox.ReadAddressList("PermBcc");
            listsRead = true;
        }
        bool keep = Listed(permCc, address) || Listed(permBcc, address) ||
                    CompareNoCaseAscii(address, own.c_str()) != 0;
        if (!keep) continue;
        size_t length = std::strlen(token);
        if (length + kept.size() + 2 > kListSize) fits = false;
        if (anyKept) kept += ',';
        kept += token;
        anyKept = true;
    }
    if (!anyKept && isTo) return false;
    // A list that does not fit is left as it was rather than cut.
    if (!fits) return false;
    std::memcpy(list, kept.c_str(), kept.size() + 1);
    return true;
}
