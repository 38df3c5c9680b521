// Reading the host's folders; headers are read through common/host_header.h.
#pragma once

#include "common/host_header.h"

// The host's folders; a host that answers nothing gives "".
const char* HostDataFolder();
const char* HostCurrentFolder();
const char* HostCurrentMailBox();
