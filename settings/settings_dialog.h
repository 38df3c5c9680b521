// The settings dialog (resource 101) and its Edit Token dialog (117).
// Windows only: included by the Win32 glue and its tests.
#pragma once

#include <windows.h>

// Runs the dialog modally, owned by owner, over the current settings
// object. 1 after OK, 2 after Cancel, 0 without settings object or when
// the dialog could not be shown.
int RunSettingsDialog(HWND owner);

// The procedure of dialog 101; tests create the dialog modeless with it.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
