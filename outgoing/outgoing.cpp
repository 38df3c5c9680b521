#include "outgoing/outgoing.h"

#include "plugin/plugin_state.h"
#include "reply/warnings.h"
#include "settings/settings.h"
#include "template/extend_template.h"

namespace {

constexpr int kModeDraft = 1;

}  // namespace

int OnOutgoing(HostWindow window, int mode) {
    // A draft is only saved, not sent: nothing to warn about.
    if (mode == kModeDraft || !SSettings::Current()) return 0;
    if (CheckReplySubject(window) == -1) return -1;
    if (CheckAttachment(window) == -1) return -1;
    // The message goes out: its template undo state is of no further use.
    if (Plugin().templates) Plugin().templates->ForgetWindow(window);
    return 0;
}
