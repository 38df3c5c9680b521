// Where the settings file lives: "Tarnwick\Halyard" in the user's roaming
// application-data folder, seeded once from a file beside the library;
// the file beside the library itself when that folder is unusable.
#pragma once

#include <cstddef>

// The plug-in's folder under an application-data folder (settings per
// user, the report under the common one).
constexpr char kVendorFolder[] = "Tarnwick\\Halyard";

// The library path with its extension replaced by ".ini" ("Halyard.dll"
// gives "Halyard.ini"). False, with out empty, when it does not fit.
bool SettingsFileBeside(const char* modulePath, char* out, size_t outSize);

// The settings file for the library at modulePath, given the roaming
// application-data folder (null or "" when unavailable). Creates the
// per-user folder and copies the file beside the library into it when
// only that one exists; never overwrites. When that copy fails the file
// beside the library stays the settings file and *copyFailed (if given)
// is set. False, with out empty, when no path fits.
bool LocateSettingsFileIn(const char* modulePath, const char* appDataFolder, char* out,
                          size_t outSize, bool* copyFailed = nullptr);

// The same with the system's roaming application-data folder; a failed
// copy is told to the user in a box.
bool LocateSettingsFile(const char* modulePath, char* out, size_t outSize);
