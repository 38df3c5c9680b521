#include "addressbook/addr_book_refresh.h"

#include "addressbook/halyard_addr_book.h"

bool RefreshAddressBookIfChanged(std::atomic<uint8_t>& changed, SHalyardAddrBook& book) {
    // Cleared before the rebuild: a change seen while rebuilding is kept for
    // the next check.
    if (changed.exchange(0) == 0) return false;
    book.Rebuild();
    return true;
}
