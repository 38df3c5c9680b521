// The reader side of the change watcher: brings the address index up to
// date before a look-up.
#pragma once

class AddressBookChanges;
class SHalyardAddrBook;

// Reads again what the watcher reported changed, and the index files that
// could not be read last time. True when anything was read again.
bool RefreshAddressBook(AddressBookChanges& changes, SHalyardAddrBook& book);
