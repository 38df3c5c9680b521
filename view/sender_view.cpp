// Replaces the sender shown in the host's message view with the sender as
// the address book lists him, in the form the user chose.
#include "view/sender_view.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "addressbook/addr_book_refresh.h"
#include "addressbook/address_format.h"
#include "addressbook/halyard_addr_book.h"
#include "common/sizes.h"
#include "host/host_headers.h"
#include "settings/settings.h"
#include "view/sender_text.h"

namespace {

constexpr size_t kFromHeaderSize = 1024;

}  // namespace

bool BuildSenderView(const Work& work, char* out, size_t outSize) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    if (!settings || !host.GetSpecifiedHeader || outSize == 0) return false;

    char from[kFromHeaderSize];
    ReadMailHeader(host, "From", from, sizeof from);

    char name[kNameSize] = {};
    char address[kNameSize] = {};
    SplitAddress(name, sizeof name, address, sizeof address, from);

    RefreshAddressBook(work);
    if (work.addrBook) {
        const std::string dataFolder = HostDataFolder(host);
        const std::string mailFolder = HostCurrentFolder(host);
        const std::string group =
            work.addrBook->ResolveFolderGroup(dataFolder.c_str(), mailFolder.c_str());
        work.addrBook->FindName(address, name, group.c_str());
    }

    FormatSenderText(out, outSize, name, address, settings->replaceViewFormat);
    return true;
}
