#include "outgoing/outgoing.h"

#include "reply/warnings.h"
#include "template/extend_template.h"

namespace {

constexpr int kModeDraft = 1;

}  // namespace

int OnOutgoing(const Work& work, SExtendTemplate* templates, HostWindow window, int mode) {
    // A draft is only saved, not sent: nothing to warn about.
    if (mode == kModeDraft || !work.settings) return 0;
    if (CheckReplySubject(work, window) == -1) return -1;
    if (CheckAttachment(work, window) == -1) return -1;
    // The message goes out: its template undo state is of no further use.
    if (templates) templates->ForgetWindow(window);
    return 0;
}
