// The settings dialog (resource 101) and its Edit Token dialog (117).
// Windows only: included by the Win32 glue and its tests.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32_handles.h"
#include "settings/send_check_values.h"

class SSettings;

// What one open settings dialog works on; handed over as the dialog's
// creation parameter.
struct SettingsDialogContext {
    SSettings& settings;
    std::string productVersion;   // shown in the title
    win32::ScopedIcon icon;       // the small icon, while the dialog is open
    SendCheckValues sendCheck;    // as the send-check dialog's OK left them
};

// Runs the dialog modally, owned by owner, over the settings object. 1
// after OK, 2 after Cancel, 0 when the dialog could not be shown.
int RunSettingsDialog(HWND owner, SSettings& settings, const char* productVersion);

// The procedure of dialog 101; tests create the dialog modeless with it and
// a SettingsDialogContext as the parameter.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
