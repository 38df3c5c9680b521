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
#include "plugin/plugin_state.h"
#include "reply/host_headers.h"
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

// Whom a reply goes to: the base mail's Reply-To, else its From.
HeaderValue ReadAnswerTo(char* buffer) {
    const HeaderValue replyTo = ReadMailHeader("Reply-To", buffer, kListSize);
    if (!replyTo.whole || replyTo.text[0] != '\0') return replyTo;
    return ReadMailHeader("From", buffer, kListSize);
}

bool HasText(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) > ' ') return true;
    return false;
}

}  // namespace

bool ArrangeReplyAll(HostWindow window) {
    PluginState& state = Plugin();
    const SSettings* settings = state.settings;
    if (!settings || !state.headerBuffer || !state.copyBuffer || !state.resultBuffer) return false;
    if (settings->arrange != kArrangeKeepTo) return false;

    // Every list is read whole or the host's arrangement stays: a value cut
    // to fit the buffer would lose recipients.
    const HeaderValue composeTo = ReadComposeHeader(window, "To", state.copyBuffer, kListSize);
    const HeaderValue replyTo = ReadMailHeader("Reply-To", state.headerBuffer, kListSize);
    if (!composeTo.whole || !replyTo.whole) return false;
    if (settings->excludeReplyTo && EqualNoCaseAscii(replyTo.text, composeTo.text)) return false;

    char baseFrom[kFromSize];
    char composeFrom[kFromSize];
    if (!ReadMailHeader("From", baseFrom, sizeof baseFrom).whole ||
        !ReadComposeHeader(window, "From", composeFrom, sizeof composeFrom).whole)
        return false;
    const std::string self = AddressOf(composeFrom);
    const std::string sender = AddressOf(baseFrom);

    // The user never stays among the base mail's To recipients.
    const HeaderValue baseTo = ReadMailHeader("To", state.headerBuffer, kListSize);
    if (!baseTo.whole) return false;
    TokenList baseToList;
    CollectAddresses(baseToList, baseTo.text, self.c_str());

    // The sender leads, unless the base mail is the user's own.
    TokenList toList;
    if (sender != self && HasText(baseFrom)) toList.Append(baseFrom);
    for (const TokenNode* node = baseToList.First(); node; node = node->next)
        toList.Append(std::string_view(node->text, node->length));

    const HeaderValue composeCc = ReadComposeHeader(window, "Cc", state.headerBuffer, kListSize);
    if (!composeCc.whole) return false;
    TokenList ccList;
    FilterAddresses(ccList, composeCc.text, toList);

    // What the host put into To beyond the arranged list, such as a Reply-To.
    TokenList extraList;
    FilterAddresses(extraList, composeTo.text, toList);
    if (settings->selfExclude) RemoveFirstSelf(extraList, self);

    char* result = state.resultBuffer;
    result[0] = '\0';
    if (!AppendJoined(kListSize, extraList)) return false;
    if (!AppendJoined(kListSize - std::strlen(result), toList)) return false;
    // The To text waits in the copy buffer (the host's To is read) until the
    // Cc is known to fit: the two are written together or not at all.
    const char* newTo = WithoutLeadingComma(result);
    std::memmove(state.copyBuffer, newTo, std::strlen(newTo) + 1);

    result[0] = '\0';
    if (!AppendJoined(kListSize, ccList)) return false;

    SetComposeHeader(window, "To", state.copyBuffer);
    SetComposeHeader(window, "Cc", WithoutLeadingComma(result));
    return true;
}

void HALYARD_WINAPI SwitchToReply(HostWindow window, intptr_t) {
    PluginState& state = Plugin();
    const SSettings* settings = state.settings;
    if (!settings || !state.headerBuffer) return;
    const bool control = platform::ControlKeyDown();

    const HeaderValue to = ReadAnswerTo(state.headerBuffer);
    if (!to.whole) return;
    SetComposeHeader(window, "To", to.text);
    SetComposeHeader(window, "Cc", "");

    if (control && settings->ctrlNoEffect) return;
    if (RewriteReplyHeaders(window) && settings->addPluginHeader) AddMailerPluginHeader(window);
}

void HALYARD_WINAPI SwitchToReplyAll(HostWindow window, intptr_t) {
    PluginState& state = Plugin();
    const SSettings* settings = state.settings;
    if (!settings || !state.headerBuffer || !state.resultBuffer) return;
    const bool control = platform::ControlKeyDown();

    // Everything is read before anything is written: a list that does not
    // fit its buffer leaves To and Cc as they are.
    const HeaderValue answerTo = ReadAnswerTo(state.headerBuffer);
    if (!answerTo.whole) return;
    const std::string to = answerTo.text;
    TokenList exclusion;
    exclusion.Append(to);
    if (settings->selfExclude) {
        char composeFrom[kFromSize];
        const HeaderValue from = ReadComposeHeader(window, "From", composeFrom, sizeof composeFrom);
        if (!from.whole) return;
        exclusion.Append(from.text);
    }

    TokenList ccList;
    for (const char* header : {"To", "Cc"}) {
        const HeaderValue base = ReadMailHeader(header, state.headerBuffer, kListSize);
        if (!base.whole) return;
        FilterAddresses(ccList, base.text, exclusion);
    }

    SetComposeHeader(window, "To", to.c_str());
    // A Cc that does not fit whole is not written: the old one stays rather
    // than a list that silently drops recipients.
    state.resultBuffer[0] = '\0';
    if (AppendJoined(kListSize, ccList))
        SetComposeHeader(window, "Cc", WithoutLeadingComma(state.resultBuffer));

    if (control && settings->ctrlNoEffect) return;
    const bool arranged = ArrangeReplyAll(window);
    const bool rewritten = RewriteReplyHeaders(window);
    if ((arranged || rewritten) && settings->addPluginHeader) AddMailerPluginHeader(window);
}
