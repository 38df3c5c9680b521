// The "Check version" button: runs Quillon32.dll's update check, owned by
// the settings dialog. Windows only.
#pragma once

#include <windows.h>

// Quillon32.dll must lie beside the plug-in's own library. When it cannot be
// loaded a message says so and nothing else happens.
void StartUpdateCheck(HWND dialog, const char* settingsPath);
