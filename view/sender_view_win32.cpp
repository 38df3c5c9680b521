#include <windows.h>

#include "common/sizes.h"
#include "plugin/plugin_state.h"
#include "view/sender_view.h"

void ReplaceSenderView() {
    HWND field = static_cast<HWND>(Plugin().senderField);
    if (!field) return;
    char shown[kNameSize] = {};
    if (BuildSenderView(shown, sizeof shown)) SetWindowTextA(field, shown);
}
