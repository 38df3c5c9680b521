// The "Check version" button: runs Quillon32.dll's update check, owned by
// the settings dialog. Windows only.
#pragma once

#include <windows.h>

// halyard: the plug-in's own module, beside which Quillon32.dll must lie.
// When Quillon32.dll cannot be loaded a message says so and nothing else
// happens.
void StartUpdateCheck(HWND dialog, HMODULE halyard, const char* settingsPath);
