// A reply to all as the user wants it: the sender and the base mail's To
// recipients in To, everybody else in Cc.
#include "reply/reply_all.h"

#include <cstring>
#include <string>

#include "addressbook/address_format.h"
#include "addressbook/compare_address.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "host/host_headers.h"
#include "host/utf8_window.h"
#include "reply/rewrite.h"
#include "settings/settings.h"

namespace {

constexpr int32_t kArrangeKeepTo = 1;

// A built list without the comma that AppendJoined puts before every entry.
const char* WithoutLeadingComma(const char* text) { return text[0] == ',' ? text + 1 : text; }

// Removes the first entry whose address is the user's own.
void RemoveFirstSelf(TokenList& list, const std::string& self) {
    for (TokenNode* node = list.First(); node; node = node->next) {
        if (CompareAddress(AddressOf(node->text).c_str(), self.c_str()) == 0) {
            list.Remove(node);
            return;
        }
    }
}

bool HasText(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) > ' ') return true;
    return false;
}

}  // namespace

bool ArrangeReplyAll(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    const WorkBuffers& buffers = work.buffers;
    if (!settings || !buffers.Ready()) return false;
    if (settings->arrange != kArrangeKeepTo) return false;

    char* composeTo = ReadComposeValue(host, window, "To", buffers.copy, kListSize);
    const char* replyTo = ReadMailValue(host, "Reply-To", buffers.header, kListSize);
    if (settings->excludeReplyTo && EqualNoCaseAscii(replyTo, composeTo)) return false;

    char baseFrom[kFromSize];
    char composeFrom[kFromSize];
    ReadMailValue(host, "From", baseFrom, sizeof baseFrom);
    ReadComposeValue(host, window, "From", composeFrom, sizeof composeFrom);
    const std::string self = AddressOf(composeFrom);
    const std::string sender = AddressOf(baseFrom);

    // The user never stays among the base mail's To recipients.
    TokenList baseToList;
    CollectAddresses(baseToList, ReadMailValue(host, "To", buffers.header, kListSize), self.c_str());

    // The sender leads, unless the base mail is the user's own.
    TokenList toList;
    if (sender != self && HasText(baseFrom)) toList.Append(baseFrom);
    for (const TokenNode* node = baseToList.First(); node; node = node->next)
        toList.Append(std::string_view(node->text, node->length));

    TokenList ccList;
    FilterAddresses(ccList, ReadComposeValue(host, window, "Cc", buffers.header, kListSize), toList);

    // What the host put into To beyond the arranged list, such as a Reply-To.
    TokenList extraList;
    FilterAddresses(extraList, composeTo, toList);
    if (settings->selfExclude) RemoveFirstSelf(extraList, self);

    char* result = buffers.result;
    result[0] = '\0';
    if (!AppendJoined(result, kListSize, extraList)) return false;
    if (!AppendJoined(result, kListSize - std::strlen(result), toList)) return false;
    // The To text waits in the copy buffer (the host's To is read) until the
    // Cc is known to fit: the two are written together or not at all.
    const char* newTo = WithoutLeadingComma(result);
    std::memmove(buffers.copy, newTo, std::strlen(newTo) + 1);

    result[0] = '\0';
    if (!AppendJoined(result, kListSize, ccList)) return false;

    SetComposeHeader(host, window, "To", buffers.copy);
    SetComposeHeader(host, window, "Cc", WithoutLeadingComma(result));
    return true;
}

void SwitchToReply(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    const WorkBuffers& buffers = work.buffers;
    if (!settings || !buffers.header) return;
    const bool control = platform::ControlKeyDown();

    const char* to = ReadMailValue(host, "Reply-To", buffers.header, kListSize);
    if (to[0] == '\0') to = ReadMailValue(host, "From", buffers.header, kListSize);
    SetComposeHeader(host, window, "To", to);
    SetComposeHeader(host, window, "Cc", "");

    if (control && settings->ctrlNoEffect) return;
    if (RewriteReplyHeaders(work, window) && settings->addPluginHeader) AddMailerPluginHeader(work, window);
}

void SwitchToReplyAll(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    const WorkBuffers& buffers = work.buffers;
    if (!settings || !buffers.header || !buffers.result) return;
    const bool control = platform::ControlKeyDown();

    const char* to = ReadMailValue(host, "Reply-To", buffers.header, kListSize);
    if (to[0] == '\0') to = ReadMailValue(host, "From", buffers.header, kListSize);
    SetComposeHeader(host, window, "To", to);

    TokenList exclusion;
    exclusion.Append(to);
    if (settings->selfExclude) {
        char composeFrom[kFromSize];
        exclusion.Append(ReadComposeValue(host, window, "From", composeFrom, sizeof composeFrom));
    }

    TokenList ccList;
    FilterAddresses(ccList, ReadMailValue(host, "To", buffers.header, kListSize), exclusion);
    FilterAddresses(ccList, ReadMailValue(host, "Cc", buffers.header, kListSize), exclusion);

    // A Cc that does not fit whole is not written: the old one stays rather
    // than a list that silently drops recipients.
    buffers.result[0] = '\0';
    if (AppendJoined(buffers.result, kListSize, ccList))
        SetComposeHeader(host, window, "Cc", WithoutLeadingComma(buffers.result));

    if (control && settings->ctrlNoEffect) return;
    const bool arranged = ArrangeReplyAll(work, window);
    const bool rewritten = RewriteReplyHeaders(work, window);
    if ((arranged || rewritten) && settings->addPluginHeader) AddMailerPluginHeader(work, window);
}
