// The background thread that notices changes in the address-book folders.
#pragma once

class SHalyardAddrBook;
struct PluginState;

// Starts watching the content folder of every book the index knows; raises
// state.addrBookChanged on a change. False when the thread could not be
// started.
bool StartAddressBookWatcher(PluginState& state, const SHalyardAddrBook& book);
// Sets the stop flag, signals the stop event and waits at most 4000 ms.
void StopAddressBookWatcher(PluginState& state);
