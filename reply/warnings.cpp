// The single-reply warning (checked when a reply to the sender opens) and
// the bare subject check (the first check before a message is sent).
#include "reply/warnings.h"

#include <string>

#include "addressbook/address_format.h"
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

constexpr size_t kSubjectSize = 16384;

}  // namespace

bool IsBareReplySubject(std::string_view subject) {
    const size_t first = subject.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    const size_t last = subject.find_last_not_of(' ');
    return EqualNoCaseAscii(subject.substr(first, last - first + 1), "Re:");
}

bool CheckSingleReply(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    char* buffer = work.buffers.header;
    if (!settings || !settings->singleWarning || !buffer) return false;
    // Control held says the user means this reply as it is.
    if (platform::ControlKeyDown()) return false;

    // The one being answered and the user are no reason to warn.
    TokenList answered;
    answered.Append(AddressOf(ReadComposeValue(host, window, "To", buffer, kListSize)));
    char from[kFromSize];
    answered.Append(AddressOf(ReadComposeValue(host, window, "From", from, sizeof from)));

    TokenList others;
    size_t count = FilterAddresses(others, ReadMailValue(host, "To", buffer, kListSize), answered);
    if (count == 0) {
        count = FilterAddresses(others, ReadMailValue(host, "Cc", buffer, kListSize), answered);
    }
    return count > 0;
}

int CheckReplySubject(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    if (!settings || !settings->emptySubject) return 0;
    char subject[kSubjectSize];
    if (!IsBareReplySubject(ReadComposeValue(host, window, "Subject", subject, sizeof subject)))
        return 0;

    const int answer =
        ShowStringBox(window, kStrSubjectWarning, kStrSubjectCaption, platform::kMbOkCancel);
    return answer == platform::kIdOk ? 0 : -1;
}
