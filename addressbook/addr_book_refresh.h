// The reader side of the change watcher: rebuilds the address index once
// after the watcher reported a change.
#pragma once

struct PluginState;

// When the change flag is set: clears it and rebuilds the index. True when
// it rebuilt.
bool RefreshAddressBookIfChanged(PluginState& state);
