// The background thread that notices changes in the address-book folders.
#pragma once

#include "common/platform.h"

#include <string>

struct PluginState;

// Arms the change watches over every book below addrBookRoot (the
// "AddrBook" folder); done before the index reads the books.
platform::FolderWatches ArmAddressBookWatches(const std::string& addrBookRoot);

// Hands the watches, armed before the index was read, to a thread of their
// own, which adds every change to state.addrBookChanges. False when the
// thread could not be started (the watches are then dropped).
bool StartAddressBookWatcher(PluginState& state, platform::FolderWatches watches);
// Sets the stop flag, signals the stop event and waits at most 4000 ms.
void StopAddressBookWatcher(PluginState& state);
