#include "plugin/warning_box.h"

#include "common/platform.h"
#include "common/string_box.h"

void ShowWarningBox(unsigned textId) {
    ShowStringBox(nullptr, textId, kStrErrorCaption, platform::kMbIconWarning);
}
