#include "addressbook/addr_book_refresh.h"

#include "addressbook/addr_book_changes.h"
#include "addressbook/halyard_addr_book.h"
#include "host/work.h"

bool RefreshAddressBook(AddressBookChanges& changes, SHalyardAddrBook& book) {
    bool read = false;
    if (changes.Pending()) {
        AddressBookChanges::Batch batch = changes.Take();
        if (batch.everything)
            book.Rebuild();
        else
            book.ApplyChanges(batch.changes);
        read = true;
    }
    return book.RetryUnreadable() || read;
}

void RefreshAddressBook(const Work& work) {
    if (work.addrBook && work.addrBookChanges) RefreshAddressBook(*work.addrBookChanges, *work.addrBook);
}
