#include "outgoing/outgoing.h"

#include "outgoing/send_check.h"
#include "reply/reply_origins.h"
#include "reply/warnings.h"
#include "template/extend_template.h"

namespace {

constexpr int kModeOutbox = 0;
constexpr int kModeDraft = 1;

}  // namespace

int OnOutgoing(const Work& work, SExtendTemplate* templates, HostWindow window, int mode) {
    // A draft is only saved, not sent: nothing to warn about.
    if (mode == kModeDraft || !work.settings) return 0;
    if (CheckReplySubject(work, window) == -1) return -1;
    if (CheckAttachment(work, window) == -1) return -1;
    // Only a message that is sent now has its recipients confirmed.
    if (mode == kModeOutbox && CheckSendRecipients(work, window) == -1) return -1;
    // The message goes out: its template undo state is of no further use.
    if (templates) templates->ForgetWindow(window);
    if (mode == kModeOutbox && work.replyOrigins) work.replyOrigins->Forget(window);
    return 0;
}
