// What happens when the host opens a compose window: the single-reply
// warning, the recipients, the templates, and the plug-in's mark.
#include "reply/open_compose.h"

#include <string>

#include "common/platform.h"
#include "common/string_box.h"
#include "reply/bcc_warning.h"
#include "reply/reply_all.h"
#include "reply/reply_origins.h"
#include "reply/rewrite.h"
#include "reply/warnings.h"
#include "resources/string_ids.h"
#include "settings/settings.h"
#include "template/extend_template.h"

namespace {

enum ComposeMode : int {
    kModeNew = 0,
    kModeNewSecond = 1,
    kModeNewThird = 2,
    kModeReply = 5,
    kModeReplyAll = 6,
    kModeReplyThird = 7,
};

bool RewritesRecipients(int mode) {
    return mode == kModeNew || mode == kModeNewSecond || mode == kModeNewThird ||
           mode == kModeReply || mode == kModeReplyThird;
}

bool ExpandsTemplates(int mode) {
    return mode == kModeNewSecond || mode == kModeNewThird || mode == kModeReply ||
           mode == kModeReplyAll || mode == kModeReplyThird;
}

}  // namespace

int OnOpenCompose(const Work& work, SExtendTemplate* templates, HostWindow window, int mode) {
    SSettings* settings = work.settings;
    if (!settings) return 0;

    // Window handles are reused: an undo entry of an earlier window with
    // this handle must not apply to the new one.
    if (templates) templates->ForgetWindow(window);
    RememberReplyOrigin(work, window, mode);

    if (settings->singleWarning && mode == kModeReply && CheckSingleReply(work, window)) {
        ShowStringBox(window, kStrSingleReplyText, kStrSingleReplyCaption, platform::kMbOk);
    }

    settings->RefreshHostAddressFormat();

    const bool bypass = platform::ControlKeyDown() && settings->ctrlNoEffect;
    if (work.host.GetWindowHandles) {
        HostWindow main = nullptr, tree = nullptr, list = nullptr, view = nullptr;
        work.host.GetWindowHandles(&main, &tree, &list, &view);
    }

    bool processed = false;
    if (!bypass) {
        if (RewritesRecipients(mode)) {
            processed = RewriteReplyHeaders(work, window);
        } else if (mode == kModeReplyAll) {
            // A reply to all that would reveal a blind copy may become a
            // reply to the sender, arranged as the menu's switch does.
            processed = KeepReplyToAll(work, window) ? ArrangeReplyAll(work, window)
                                                     : AnswerSenderOnly(work, window);
            processed = RewriteReplyHeaders(work, window) || processed;
        }
    }

    if (settings->extendTemplate && ExpandsTemplates(mode) && templates)
        processed = templates->ExpandTemplates(work, window) || processed;

    if (processed && settings->addPluginHeader) AddMailerPluginHeader(work, window);
    return 0;
}
