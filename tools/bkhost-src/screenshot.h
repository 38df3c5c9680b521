// Pictures of windows as they are on the screen, written as PNG files
// through the system's GDI+.
#pragma once

#include <windows.h>

#include <string>

// Paints the window and its children now, then writes what the screen shows
// of it to path (UTF-8). False with *error when it cannot.
bool SaveWindowPicture(HWND window, const std::string& path, std::string* error);
