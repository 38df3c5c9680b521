// Faults of the file system as the plug-in meets them in users' worlds: a
// share or a stick that goes away and comes back (away / back), and a small
// volume that fills up (volume / fill / unfill). The plug-in's imports of
// the file functions are intercepted, so nothing outside it changes.
#pragma once

#include <windows.h>

#include <string>

struct SScriptCommand;

// Points the plug-in's imports of the file functions at the host's own,
// which answer as the real ones do until a folder is away. Done once per
// load, right after the library is loaded, in a run whose script sends a
// folder away (WantFileFaults); other runs keep the plug-in as it is.
void InterceptFileCalls(HMODULE plugin);
// For the script about to run: true when it uses away or back.
void WantFileFaults(bool wanted);

// away, back, volume, fill and unfill.
bool IsFileFaultCommand(const std::string& name);
// Runs one of them on the expanded path (and, for volume, the KiB count);
// false with *error when the script cannot go on.
bool RunFileFaultCommand(const SScriptCommand& command, const std::string& path,
                         std::string* error);
