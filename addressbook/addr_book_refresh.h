// The reader side of the change watcher: rebuilds the address index once
// after the watcher reported a change.
#pragma once

#include <atomic>
#include <cstdint>

class SHalyardAddrBook;

// When the change flag is set: clears it and rebuilds the index. True when
// it rebuilt.
bool RefreshAddressBookIfChanged(std::atomic<uint8_t>& changed, SHalyardAddrBook& book);
