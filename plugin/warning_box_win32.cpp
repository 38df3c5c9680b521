#include "plugin/warning_box.h"

#include <windows.h>

#include "plugin/plugin_state.h"

namespace {

constexpr int kBoxTextSize = 1024;

}  // namespace

void ShowWarningBox(unsigned textId) {
    HINSTANCE module = static_cast<HINSTANCE>(Plugin().instance);
    char caption[kBoxTextSize] = {};
    char text[kBoxTextSize] = {};
    LoadStringA(module, kStrErrorCaption, caption, kBoxTextSize);
    LoadStringA(module, textId, text, kBoxTextSize);
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONWARNING);
}
