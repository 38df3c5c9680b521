// Replaces the sender shown in the host's message view with the sender as
// the address book lists him, in the form the user chose.
#include "view/sender_view.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "addressbook/address_format.h"
#include "addressbook/halyard_addr_book.h"
#include "common/host_header.h"
#include "common/sizes.h"
#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "settings/settings.h"
#include "view/sender_text.h"

namespace {

constexpr size_t kFromHeaderSize = 1024;

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

bool BuildSenderView(char* out, size_t outSize) {
    PluginState& state = Plugin();
    SSettings* settings = state.settings;
    HostApi& host = Host();
    if (!settings || !host.GetSpecifiedHeader || outSize == 0) return false;

    char from[kFromHeaderSize];
    ReadMailHeader("From", from, sizeof from);

    char name[kNameSize] = {};
    char address[kNameSize] = {};
    SplitAddress(name, sizeof name, address, sizeof address, from);

    if (state.addrBook) {
        const char* dataFolder = host.GetDataFolder ? OrEmpty(host.GetDataFolder()) : "";
        const char* mailFolder = host.GetCurrentFolder ? OrEmpty(host.GetCurrentFolder()) : "";
        std::string group = state.addrBook->ResolveFolderGroup(dataFolder, mailFolder);
        state.addrBook->FindName(address, name, group.c_str());
    }

    FormatSenderText(out, outSize, name, address, settings->replaceViewFormat);
    return true;
}
