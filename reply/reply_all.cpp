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
    size_t index = 0;
    for (const std::string& entry : list) {
        if (CompareAddress(AddressOf(entry.c_str()).c_str(), self.c_str()) == 0) {
            list.RemoveAt(index);
            return;
        }
        ++index;
    }
}

// Whom a reply goes to: the base mail's Reply-To, else its From.
HeaderValue ReadAnswerTo(const HostApi& host, char* buffer) {
    const HeaderValue replyTo = ReadMailHeader(host, "Reply-To", buffer, kListSize);
    if (!replyTo.whole || replyTo.text[0] != '\0') return replyTo;
    return ReadMailHeader(host, "From", buffer, kListSize);
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

    // Every list is read whole or the host's arrangement stays: a value cut
    // to fit the buffer would lose recipients.
    const HeaderValue composeTo = ReadComposeHeader(host, window, "To", buffers.copy, kListSize);
    const HeaderValue replyTo = ReadMailHeader(host, "Reply-To", buffers.header, kListSize);
    if (!composeTo.whole || !replyTo.whole) return false;
    if (settings->excludeReplyTo && EqualNoCaseAscii(replyTo.text, composeTo.text)) return false;

    char baseFrom[kFromSize];
    char composeFrom[kFromSize];
    if (!ReadMailHeader(host, "From", baseFrom, sizeof baseFrom).whole ||
        !ReadComposeHeader(host, window, "From", composeFrom, sizeof composeFrom).whole)
        return false;
    const std::string self = AddressOf(composeFrom);
    const std::string sender = AddressOf(baseFrom);

    // The user never stays among the base mail's To recipients.
    const HeaderValue baseTo = ReadMailHeader(host, "To", buffers.header, kListSize);
    if (!baseTo.whole) return false;
    TokenList baseToList;
    CollectAddresses(baseToList, baseTo.text, self.c_str());

    // The sender leads, unless the base mail is the user's own.
    TokenList toList;
    if (sender != self && HasText(baseFrom)) toList.Append(baseFrom);
    for (const std::string& entry : baseToList) toList.Append(entry);

    const HeaderValue composeCc = ReadComposeHeader(host, window, "Cc", buffers.header, kListSize);
    if (!composeCc.whole) return false;
    TokenList ccList;
    FilterAddresses(ccList, composeCc.text, toList);

    // What the host put into To beyond the arranged list, such as a Reply-To.
    TokenList extraList;
    FilterAddresses(extraList, composeTo.text, toList);
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

bool AnswerSenderOnly(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    if (!work.buffers.header) return false;
    const HeaderValue to = ReadAnswerTo(host, work.buffers.header);
    if (!to.whole) return false;
    SetComposeHeader(host, window, "To", to.text);
    SetComposeHeader(host, window, "Cc", "");
    return true;
}

void SwitchToReply(const Work& work, HostWindow window) {
    const SSettings* settings = work.settings;
    if (!settings || !work.buffers.header) return;
    const bool control = platform::ControlKeyDown();

    if (!AnswerSenderOnly(work, window)) return;

    if (control && settings->ctrlNoEffect) return;
    if (RewriteReplyHeaders(work, window) && settings->addPluginHeader) AddMailerPluginHeader(work, window);
}

void SwitchToReplyAll(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    const WorkBuffers& buffers = work.buffers;
    if (!settings || !buffers.header || !buffers.result) return;
    const bool control = platform::ControlKeyDown();

    // Everything is read before anything is written: a list that does not
    // fit its buffer leaves To and Cc as they are.
    const HeaderValue answerTo = ReadAnswerTo(host, buffers.header);
    if (!answerTo.whole) return;
    const std::string to = answerTo.text;
    TokenList exclusion;
    exclusion.Append(to);
    if (settings->selfExclude) {
        char composeFrom[kFromSize];
        const HeaderValue from =
            ReadComposeHeader(host, window, "From", composeFrom, sizeof composeFrom);
        if (!from.whole) return;
        exclusion.Append(from.text);
    }

    TokenList ccList;
    for (const char* header : {"To", "Cc"}) {
        const HeaderValue base = ReadMailHeader(host, header, buffers.header, kListSize);
        if (!base.whole) return;
        FilterAddresses(ccList, base.text, exclusion);
    }

    SetComposeHeader(host, window, "To", to.c_str());

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
