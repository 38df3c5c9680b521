// Reading headers and folders from the host, always terminated and bounded.
#pragma once

#include <cstddef>

#include "host/host_api.h"

// A header of the compose window into buffer[0..size); "" when absent.
char* ReadComposeValue(const HostApi& host, HostWindow window, const char* name, char* buffer,
                       size_t size);
// A header of the host's current mail (the mail being replied to).
char* ReadMailValue(const HostApi& host, const char* name, char* buffer, size_t size);

// The host's folders; a host that answers nothing gives "".
const char* HostDataFolder(const HostApi& host);
const char* HostCurrentFolder(const HostApi& host);
const char* HostCurrentMailBox(const HostApi& host);
