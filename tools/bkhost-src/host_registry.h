// The registry as the run needs it: the host's own settings key, emptied at
// the start of every run, and the application-data folders pointed at the
// run's scratch folder while it lasts.
#pragma once

#include <string>

// Empties HKCU "Software\RimArts\B2\Settings" (the key stays).
bool ClearHostKey();
bool SetHostDword(const char* name, unsigned long value);
bool SetHostString(const char* name, const std::string& ansi);

// Tells Wine's X11 driver to leave this program's windows unmanaged: with
// no window manager on the virtual display, closing a managed message box
// waits two seconds for one. Must run before the first window exists.
void UnmanagedWineWindows();

// Points CSIDL_APPDATA and CSIDL_COMMON_APPDATA at the given folders (wide
// Windows paths) until RestoreShellFolders, which also runs from the crash
// and timeout paths.
bool RedirectShellFolders(const std::wstring& appdata, const std::wstring& commondata);
void RestoreShellFolders();
