// Where the update check asks for the announcement: the maker's address,
// or the settings file's [Update] URL (for administrators and tests; no
// dialog control sets it).
#pragma once

#include <cstddef>
#include <string>

constexpr char kMakerUpdateAddress[] = "https://tarnwick.example/halyard/update.txt";
constexpr size_t kUpdateAddressSize = 2049;   // the update checker takes at most 2048 bytes

// The announcement's address for the settings file at settingsPath (null or
// "" when there is none): [Update] URL when present and not empty, else
// the maker's.
std::string UpdateAnnouncementAddress(const char* settingsPath);
