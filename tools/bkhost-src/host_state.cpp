#include "host_state.h"

#include "codepage.h"

namespace {

std::string Recode(const std::string& text, unsigned from, unsigned to) {
    if (from == kUtf8CodePage) {
        std::string out;
        if (Utf8ToCodePage(text, to, &out)) return out;
        return text;
    }
    return CodePageToUtf8(text, from);
}

}  // namespace

void SComposeWindow::SetCodePage(unsigned newCodePage) {
    unsigned ansi = AnsiCodePage();
    unsigned oldHeld = Utf8() ? kUtf8CodePage : ansi;
    codePage = newCodePage;
    unsigned newHeld = Utf8() ? kUtf8CodePage : ansi;
    if (oldHeld == newHeld) return;
    SHeaderList converted;
    for (const auto& header : headers.All())
        converted.Set(header.first, Recode(header.second, oldHeld, newHeld));
    headers = converted;
    text = Recode(text, oldHeld, newHeld);
}

const SHostCommand* SHostState::FindCommand(const std::string& text) const {
    for (auto it = commands.rbegin(); it != commands.rend(); ++it)
        if (it->text == text) return &*it;
    return nullptr;
}

void SHostState::SelectWindow(int index) {
    if (index == selected) return;
    std::swap(compose, parked[static_cast<size_t>(selected)]);
    std::swap(compose, parked[static_cast<size_t>(index)]);
    selected = index;
}

SComposeWindow* SHostState::WindowOf(HWND window) {
    if (!window) return nullptr;
    if (window == compose.window) return &compose;
    for (SComposeWindow& other : parked)
        if (other.window == window) return &other;
    return nullptr;
}

SHostState& TheHost() {
    static SHostState state;
    return state;
}

void ApplyKeyState(bool ctrlDown) {
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return;
    BYTE value = ctrlDown ? 0x80 : 0;
    keys[VK_CONTROL] = value;
    keys[VK_LCONTROL] = value;
    SetKeyboardState(keys);
}

void RaiseIfFailing(const char* function) {
    if (TheHost().raising.count(function)) RaiseException(kHostRaisedCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}
