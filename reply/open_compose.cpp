// What happens when the host opens a compose window: the single-reply
// warning, the recipients, the templates, and the plug-in's mark.
#include "reply/open_compose.h"

#include <string>

#include "common/platform.h"
#include "common/string_box.h"
#include "plugin/plugin_state.h"
#include "reply/reply_all.h"
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

int OnOpenCompose(HostWindow window, int mode) {
    PluginState& state = Plugin();
    SSettings* settings = state.settings;
    if (!settings) return 0;

    // Window handles are reused: an undo entry of an earlier window with
    // this handle must not apply to the new one.
    if (state.templates) state.templates->ForgetWindow(window);

    if (settings->singleWarning && mode == kModeReply && CheckSingleReply(window)) {
        ShowStringBox(window, kStrSingleReplyText, kStrSingleReplyCaption, platform::kMbOk);
    }

    settings->RefreshHostAddressFormat();

    const bool bypass = platform::ControlKeyDown() && settings->ctrlNoEffect;
    if (Host().GetWindowHandles) {
        HostWindow main = nullptr, tree = nullptr, list = nullptr, view = nullptr;
        Host().GetWindowHandles(&main, &tree, &list, &view);
    }

    bool processed = false;
    if (!bypass) {
        if (RewritesRecipients(mode)) {
            processed = RewriteReplyHeaders(window);
        } else if (mode == kModeReplyAll) {
            processed = ArrangeReplyAll(window);
            processed = RewriteReplyHeaders(window) || processed;
        }
    }

    if (settings->extendTemplate && ExpandsTemplates(mode) && state.templates)
        processed = state.templates->ExpandTemplates(window) || processed;

    if (processed && settings->addPluginHeader) AddMailerPluginHeader(window);
    return 0;
}
