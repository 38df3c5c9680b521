// The host's windows: a hidden main window laid out as the mail client's
// (folder tree, mail list, and a message pane whose header shows a label
// followed by the sender), and one hidden compose window.
#pragma once

#include <windows.h>

#include "host_state.h"

// Creates every window into the host state. False when one fails.
bool CreateHostWindows(SHostState* host, const char* labelText);
void DestroyHostWindows(SHostState* host);

// Waits ms milliseconds while dispatching messages.
void PumpMessages(DWORD ms);

std::string WindowTextUtf8(HWND window);
