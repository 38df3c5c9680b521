#include "reply/bcc_warning.h"

#include "addressbook/address_format.h"
#include "addressbook/mailbox.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "host/host_headers.h"
#include "reply/reply_all.h"
#include "resources/string_ids.h"
#include "settings/settings.h"
#include "settings/token_list.h"

namespace {

// Only whether a list header is there matters, not its whole value.
constexpr size_t kListHeaderSize = 256;

bool HasText(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) > ' ') return true;
    return false;
}

bool HasMailHeader(const HostApi& host, const char* name) {
    char value[kListHeaderSize];
    return HasText(ReadMailHeader(host, name, value, sizeof value).text);
}

// The addresses of the base mail's To and Cc; false when a list filled its
// buffer and may hold more than was read.
bool ReadVisibleRecipients(const Work& work, std::vector<std::string>* visible) {
    for (const char* header : {"To", "Cc"}) {
        const HeaderValue value = ReadMailHeader(work.host, header, work.buffers.header, kListSize);
        if (!value.whole) return false;
        TokenList tokens;
        CollectAddresses(tokens, value.text, nullptr);
        for (const std::string& token : tokens) visible->push_back(AddressOf(token.c_str()));
    }
    return true;
}

// The current mailbox's own address, as the own-address removal reads it.
std::string OwnAddress(const HostApi& host) {
    // Each folder answer lasts only until the next host call: copied first.
    const std::string dataFolder = HostDataFolder(host);
    const std::string mailBox = HostCurrentMailBox(host);
    SBeckyMailBox mailbox(dataFolder.c_str(), mailBox.c_str());
    return mailbox.MailAddress();
}

}  // namespace

bool MayRevealBlindCopy(std::string_view own, std::string_view sender,
                        const std::vector<std::string>& visible, bool listMail) {
    if (listMail || own.empty() || EqualNoCaseAscii(sender, own)) return false;
    for (const std::string& address : visible)
        if (EqualNoCaseAscii(address, own)) return false;
    return true;
}

bool KeepReplyToAll(const Work& work, HostWindow window) {
    const SSettings* settings = work.settings;
    if (!settings || !settings->bccReplyAll || !work.buffers.header) return true;
    const HostApi& host = work.host;

    const bool listMail = HasMailHeader(host, "List-Id") || HasMailHeader(host, "List-Post");
    if (listMail) return true;
    std::vector<std::string> visible;
    // A list that may be cut could hold the user further on: no question.
    if (!ReadVisibleRecipients(work, &visible)) return true;
    char from[kFromSize];
    const std::string sender = AddressOf(ReadMailHeader(host, "From", from, sizeof from).text);
    if (!MayRevealBlindCopy(OwnAddress(host), sender, visible, listMail)) return true;

    const int answer = ShowStringBox(window, kStrBlindCopyText, kStrBlindCopyCaption,
                                     platform::kMbYesNo | platform::kMbIconQuestion |
                                         platform::kMbDefaultSecond);
    return answer != platform::kIdNo;
}
