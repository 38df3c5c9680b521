#include "addressbook/addr_book_refresh.h"

#include "addressbook/halyard_addr_book.h"
#include "plugin/plugin_state.h"

bool RefreshAddressBookIfChanged(PluginState& state) {
    // Cleared before the rebuild: a change seen while rebuilding is kept for
    // the next check.
    if (state.addrBookChanged.exchange(0) == 0) return false;
    if (!state.addrBook) return false;
    state.addrBook->Rebuild();
    return true;
}
