// Rewriting the six recipient headers of a compose window: group entries
// expanded by the host, own addresses removed, folded lines joined, and
// every address given its name from the address book.
#include "reply/rewrite.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "addressbook/addr_book_refresh.h"
#include "addressbook/address_format.h"
#include "addressbook/halyard_addr_book.h"
#include "addressbook/mailbox.h"
#include "common/sizes.h"
#include "common/text.h"
#include "plugin/plugin_state.h"
#include "reply/host_headers.h"
#include "reply/report.h"
#include "settings/settings.h"

namespace {

constexpr const char* kRecipientHeaders[] = {
    "To", "Cc", "Bcc", "Resent-To", "Resent-Cc", "Resent-Bcc",
};

// A raw value holding an RFC 2047 B-encoded word gets its names encoded again.
bool HoldsEncodedWord(const char* raw) {
    return std::strstr(raw, "=?") && std::strstr(raw, "?B?") && std::strstr(raw, "?=");
}

// Joins folded lines: every CR LF pair goes, the blank after it stays.
void Unfold(char* list) {
    char* out = list;
    for (const char* in = list; *in;) {
        if (in[0] == '\r' && in[1] == '\n') {
            in += 2;
            continue;
        }
        *out++ = *in++;
    }
    *out = '\0';
}

}  // namespace

bool CopyRecipients() {
    PluginState& state = Plugin();
    const SSettings* settings = state.settings;
    if (!settings || !state.headerBuffer || !state.copyBuffer) return false;

    if (settings->serializeRcpts && Host().SerializeRcpts) {
        HostText expanded(Host().SerializeRcpts(state.headerBuffer));
        if (expanded) {
            const size_t length = strnlen(expanded.Get(), kListSize);
            if (length < kListSize) {
                std::memcpy(state.copyBuffer, expanded.Get(), length + 1);
                return true;
            }
        }
    }
    const size_t length = strnlen(state.headerBuffer, kListSize);
    if (length >= kListSize) return false;
    std::memcpy(state.copyBuffer, state.headerBuffer, length + 1);
    return true;
}

char* GroupReferenceFolder(char* out, size_t outSize) {
    char* raw = Plugin().headerBuffer;
    if (!raw || !out || outSize == 0) return nullptr;

    char* reference = nullptr;
    for (char* token = NextAddressToken(raw); token; token = NextAddressToken(nullptr)) {
        if (token[0] == '@' && token[1] == '"') {
            reference = token;
            break;
        }
    }
    if (!reference) return nullptr;

    // @"Book:Folder" names the folder Folder of the book directory @Book.
    std::replace(reference, reference + std::strlen(reference), ':', '\\');
    std::string name = reference;
    if (name.size() >= 3 && name[1] == '"' && name.back() == '"')
        name = "@" + name.substr(2, name.size() - 3);

    const std::string path = JoinPath(JoinPath(HostDataFolder(), "AddrBook"), name);
    if (path.size() >= std::min(outSize, kPathSize)) return nullptr;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return out;
}

bool RewriteHeader(HostWindow window, const char* headerName, const char* groupFolder) {
    PluginState& state = Plugin();
    const SSettings* settings = state.settings;
    if (!settings || !state.headerBuffer || !state.copyBuffer || !state.resultBuffer) return false;

    const HeaderValue raw = ReadComposeHeader(window, headerName, state.headerBuffer, kListSize);
    // A value the host may have cut stays exactly as the window holds it.
    if (raw.text[0] == '\0' || !raw.whole) return false;
    const bool encoded = HoldsEncodedWord(raw.text);

    const bool copied = CopyRecipients();
    char* list = copied ? state.copyBuffer : state.headerBuffer;

    if (settings->selfExclude && list[0] != '\0') {
        const bool isTo = EqualNoCaseAscii(headerName, "To");
        const bool changed = ExcludeSelf(list, isTo, HostDataFolder(), HostCurrentMailBox(),
                                         state.resultBuffer, kListSize);
        // A header that held only the user's own address is written empty:
        // keeping it would keep the user among the recipients.
        if (changed && list[0] == '\0') {
            SetComposeHeader(window, headerName, "");
            return true;
        }
    }

    Unfold(list);

    if (!settings->useAddrBook) {
        if (!copied) return false;
        SetComposeHeader(window, headerName, list);
        return true;
    }

    if (list[0] == '\0') return false;
    char referenceFolder[kPathSize];
    const char* hint = groupFolder ? groupFolder : "";
    if (copied && GroupReferenceFolder(referenceFolder, sizeof referenceFolder))
        hint = referenceFolder;
    ReportUnlistedFn report = settings->reportSwitch ? ReportMissingAddress : nullptr;
    if (!RewriteAddressList(list, encoded, hint, report, state.resultBuffer, kListSize,
                            *settings, state.addrBook))
        return false;
    SetComposeHeader(window, headerName, state.resultBuffer);
    return true;
}

bool RewriteReplyHeaders(HostWindow window) {
    PluginState& state = Plugin();
    if (!state.addrBook || !state.settings) return false;
    RefreshAddressBookIfChanged(state);

    const std::string groupFolder =
        state.addrBook->ResolveFolderGroup(HostDataFolder(), HostCurrentFolder());
    bool every = true;
    for (const char* header : kRecipientHeaders)
        every = RewriteHeader(window, header, groupFolder.c_str()) && every;
    return every;
}
