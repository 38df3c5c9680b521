// Fixed sizes shared by every subsystem. The host and the address book
// impose them; naming them keeps every bounded copy honest.
#pragma once

#include <cstddef>

constexpr size_t kNameSize = 1028;       // display names and addresses
constexpr size_t kPathSize = 260;        // file system paths
constexpr size_t kListSize = 65536;      // recipient lists, header values
constexpr size_t kFromSize = 2056;       // a From header read for splitting
constexpr size_t kResStringSize = 128;   // menu and label texts from the string table
