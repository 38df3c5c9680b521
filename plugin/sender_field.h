// Finds the window of the host's message view that shows the sender: the
// sibling after the first window whose text begins with the label.
#pragma once

#include <windows.h>

// Walks every descendant of the message view's parent window. Null when
// no window begins with the label, or with no view, parent or label.
HWND FindSenderField(HWND messageView, const char* label);
