#include "addressbook/own_addresses.h"

#include <algorithm>

#include "addressbook/address_format.h"
#include "addressbook/mailbox.h"
#include "common/platform.h"
#include "common/text.h"

namespace {

constexpr char kMailBoxFile[] = "MailBox.ini";

}  // namespace

std::vector<std::string> ReadOwnAddresses(const char* dataFolder) {
    std::vector<std::string> addresses;
    if (!dataFolder || dataFolder[0] == '\0') return addresses;
    const std::string root = dataFolder;
    // Mailboxes are the folders of the data folder that hold a MailBox.ini.
    std::vector<std::string> mailboxes;
    platform::ListDirectory(root.c_str(), "*.*", [&](const platform::DirEntry& entry) {
        if (entry.isDirectory &&
            platform::FileExists(JoinPath(JoinPath(root, entry.name), kMailBoxFile).c_str()))
            mailboxes.push_back(entry.name + "\\");
        return true;
    });
    for (const std::string& mailbox : mailboxes) {
        SBeckyMailBox box(root.c_str(), mailbox.c_str());
        // Written bare as a rule; "Name <address>" is read as the tokenizer does.
        const std::string address = AddressOf(box.MailAddress());
        if (address.empty()) continue;
        const bool known = std::any_of(addresses.begin(), addresses.end(), [&](const std::string& a) {
            return EqualNoCaseAscii(a, address);
        });
        if (!known) addresses.push_back(address);
    }
    return addresses;
}
