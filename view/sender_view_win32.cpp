#include <windows.h>

#include "common/sizes.h"
#include "view/sender_view.h"

void ReplaceSenderView(const Work& work, HostWindow senderField) {
    HWND field = static_cast<HWND>(senderField);
    if (!field) return;
    char shown[kNameSize] = {};
    if (BuildSenderView(work, shown, sizeof shown)) SetWindowTextA(field, shown);
}
