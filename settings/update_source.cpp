#include "settings/update_source.h"

#include "common/platform.h"

std::string UpdateAnnouncementAddress(const char* settingsPath) {
    if (!settingsPath || !*settingsPath) return kMakerUpdateAddress;
    char address[kUpdateAddressSize] = {};
    const size_t n = platform::ProfileGetString("Update", "URL", "", address, sizeof address, settingsPath);
    // A value cut at the buffer's end is not the address that was written.
    if (n == 0 || n >= sizeof address - 1) return kMakerUpdateAddress;
    return std::string(address, n);
}
