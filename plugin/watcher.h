// The background thread that notices changes in the address-book folders.
#pragma once

class SHalyardAddrBook;

// Starts watching the content folder of every book the index knows.
// False when the thread could not be started.
bool StartAddressBookWatcher(SHalyardAddrBook* book);
// Sets the stop flag, signals the stop event and waits at most 4000 ms.
void StopAddressBookWatcher();
