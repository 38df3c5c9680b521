#include "common/string_box.h"

#include <string>

#include "common/platform.h"
#include "resources/string_ids.h"

int ShowStringBox(void* owner, unsigned textId, const char* caption, unsigned flags) {
    const std::string text = platform::LoadResString(textId);
    return platform::ShowMessageBox(owner, text.c_str(), caption, flags);
}

int ShowStringBox(void* owner, unsigned textId, unsigned captionId, unsigned flags) {
    const std::string caption = platform::LoadResString(captionId);
    return ShowStringBox(owner, textId, caption.c_str(), flags);
}

int ShowErrorBox(void* owner, unsigned textId) {
    return ShowStringBox(owner, textId, kStrErrorCaption, platform::kMbIconWarning);
}
