// The single-reply warning (checked when a reply to the sender opens) and
// the bare subject check (the first check before a message is sent).
#include "reply/warnings.h"

#include <string>

#include "addressbook/address_format.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "plugin/plugin_state.h"
#include "reply/host_headers.h"
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

bool CheckSingleReply(HostWindow window) {
    const SSettings* settings = SSettings::Current();
    char* buffer = Plugin().headerBuffer;
    if (!settings || !settings->singleWarning || !buffer) return false;
    // Control held says the user means this reply as it is.
    if (platform::ControlKeyDown()) return false;

    // The one being answered and the user are no reason to warn.
    TokenList answered;
    answered.Append(AddressOf(ReadComposeHeader(window, "To", buffer, kListSize).text));
    char from[kFromSize];
    answered.Append(AddressOf(ReadComposeHeader(window, "From", from, sizeof from).text));

    TokenList others;
    size_t count =
        FilterAddresses(others, ReadMailHeader("To", buffer, kListSize).text, answered);
    if (count == 0) {
        count = FilterAddresses(others, ReadMailHeader("Cc", buffer, kListSize).text, answered);
    }
    return count > 0;
}

int CheckReplySubject(HostWindow window) {
    const SSettings* settings = SSettings::Current();
    if (!settings || !settings->emptySubject) return 0;
    char subject[kSubjectSize];
    if (!IsBareReplySubject(ReadComposeHeader(window, "Subject", subject, sizeof subject).text))
        return 0;

    const int answer =
        ShowStringBox(window, kStrSubjectWarning, kStrSubjectCaption, platform::kMbOkCancel);
    return answer == platform::kIdOk ? 0 : -1;
}
