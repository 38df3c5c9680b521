// The reader side of the change watcher: brings the address index up to
// date before a look-up.
#pragma once

class AddressBookChanges;
class SHalyardAddrBook;
struct Work;

// Reads again what the watcher reported changed, and the index files that
// could not be read last time. True when anything was read again.
bool RefreshAddressBook(AddressBookChanges& changes, SHalyardAddrBook& book);
// The same for the work's index, when it has one; every piece of work that
// looks names up calls it first.
void RefreshAddressBook(const Work& work);
