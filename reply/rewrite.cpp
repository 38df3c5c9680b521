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
#include "host/host_headers.h"
#include "host/utf8_window.h"
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

bool CopyRecipients(const Work& work) {
    const SSettings* settings = work.settings;
    const WorkBuffers& buffers = work.buffers;
    if (!settings || !buffers.header || !buffers.copy) return false;

    if (settings->serializeRcpts) {
        HostText expanded = SerializeRecipients(work.host, buffers.header);
        if (expanded) {
            const size_t length = strnlen(expanded.Get(), kListSize);
            if (length < kListSize) {
                std::memcpy(buffers.copy, expanded.Get(), length + 1);
                return true;
            }
        }
    }
    const size_t length = strnlen(buffers.header, kListSize);
    if (length >= kListSize) return false;
    std::memcpy(buffers.copy, buffers.header, length + 1);
    return true;
}

char* GroupReferenceFolder(const Work& work, char* out, size_t outSize) {
    char* raw = work.buffers.header;
    if (!raw || !out || outSize == 0) return nullptr;

    char* reference = nullptr;
    AddressCursor cursor(raw);
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
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

    const std::string path = JoinPath(JoinPath(HostDataFolder(work.host), kAddrBookFolder), name);
    if (path.size() >= std::min(outSize, kPathSize)) return nullptr;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return out;
}

bool RewriteHeader(const Work& work, HostWindow window, const char* headerName,
                   const char* groupFolder) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    const WorkBuffers& buffers = work.buffers;
    if (!settings || !buffers.Ready()) return false;

    const HeaderValue raw = ReadComposeHeader(host, window, headerName, buffers.header, kListSize);
    // A value the host may have cut stays exactly as the window holds it.
    if (raw.text[0] == '\0' || !raw.whole) return false;
    const bool encoded = HoldsEncodedWord(raw.text);

    const bool copied = CopyRecipients(work);
    char* list = copied ? buffers.copy : buffers.header;

    if (settings->selfExclude && list[0] != '\0') {
        const bool isTo = EqualNoCaseAscii(headerName, "To");
        const std::string dataFolder = HostDataFolder(host);
        const std::string mailBox = HostCurrentMailBox(host);
        const bool changed = ExcludeSelf(list, isTo, dataFolder.c_str(), mailBox.c_str(),
                                         buffers.result, kListSize);
        // A header that held only the user's own address is written empty:
        // keeping it would keep the user among the recipients.
        if (changed && list[0] == '\0') {
            SetComposeHeader(host, window, headerName, "");
            return true;
        }
    }

    Unfold(list);

    if (!settings->useAddrBook) {
        if (!copied) return false;
        SetComposeHeader(host, window, headerName, list);
        return true;
    }

    if (list[0] == '\0') return false;
    char referenceFolder[kPathSize];
    const char* hint = groupFolder ? groupFolder : "";
    if (copied && GroupReferenceFolder(work, referenceFolder, sizeof referenceFolder))
        hint = referenceFolder;
    // A failed report is told once the list is written, in one box: a box
    // shown in the middle of the list would run the host's message loop,
    // and with it the user's other windows, while the list is half built.
    unsigned reportFailure = 0;
    ReportUnlistedFn report;
    if (settings->reportSwitch) {
        const char* reportFile = settings->reportFile;
        report = [reportFile, &reportFailure](const char* token) {
            const unsigned failure = AppendMissingAddress(reportFile, token);
            if (!reportFailure) reportFailure = failure;
        };
    }
    const bool rewritten = RewriteAddressList(list, encoded, hint, report, buffers.result,
                                              kListSize, *settings, work.addrBook, &host);
    if (rewritten) SetComposeHeader(host, window, headerName, buffers.result);
    ShowReportFailure(reportFailure);
    return rewritten;
}

bool RewriteReplyHeaders(const Work& work, HostWindow window) {
    if (!work.addrBook || !work.settings) return false;
    RefreshAddressBook(work);

    const std::string dataFolder = HostDataFolder(work.host);
    const std::string mailFolder = HostCurrentFolder(work.host);
    const std::string groupFolder =
        work.addrBook->ResolveFolderGroup(dataFolder.c_str(), mailFolder.c_str());
    bool every = true;
    for (const char* header : kRecipientHeaders)
        every = RewriteHeader(work, window, header, groupFolder.c_str()) && every;
    return every;
}
