// The single-reply warning (checked when a reply to the sender opens) and
// the bare subject check (the first check before a message is sent).
#include "reply/warnings.h"

#include <string>

#include "addressbook/address_format.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "outgoing/compose_read.h"
#include "plugin/plugin_state.h"
#include "reply/reply_all.h"
#include "settings/settings.h"
#include "settings/token_list.h"

namespace {

constexpr size_t kSubjectSize = 16384;
constexpr unsigned kStrSubjectWarning = 36;
constexpr unsigned kStrSubjectCaption = 37;

std::string AddressOf(const char* text) {
    char name[kNameSize];
    char address[kNameSize];
    SplitAddress(name, sizeof name, address, sizeof address, text);
    return address;
}

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
    ReadComposeHeader(window, "To", buffer, kListSize);
    answered.Append(AddressOf(buffer));
    char from[kFromSize];
    ReadComposeHeader(window, "From", from, sizeof from);
    answered.Append(AddressOf(from));

    TokenList others;
    ReadMailHeader("To", buffer, kListSize);
    size_t count = FilterAddresses(others, buffer, answered);
    if (count == 0) {
        ReadMailHeader("Cc", buffer, kListSize);
        count = FilterAddresses(others, buffer, answered);
    }
    return count > 0;
}

int CheckReplySubject(HostWindow window) {
    const SSettings* settings = SSettings::Current();
    if (!settings || !settings->emptySubject) return 0;
    char subject[kSubjectSize];
    const size_t length = ReadComposeHeader(window, "Subject", subject, sizeof subject);
    if (!IsBareReplySubject(std::string_view(subject, length))) return 0;

    const std::string text = platform::LoadResString(kStrSubjectWarning);
    const std::string caption = platform::LoadResString(kStrSubjectCaption);
    const int answer = platform::ShowMessageBox(window, text.c_str(), caption.c_str(),
                                                platform::kMbOkCancel);
    return answer == platform::kIdOk ? 0 : -1;
}
