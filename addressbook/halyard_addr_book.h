// The plug-in's one address index: which name an address is listed under,
// and what its card says, preferring a group folder.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "addressbook/address_book.h"

class SHalyardAddrBook : public SAddressBook {
public:
    // rootPath: the "AddrBook" folder under the host's data folder.
    explicit SHalyardAddrBook(const char* rootPath);
    ~SHalyardAddrBook() override;

    // True when listed; nameBuffer (kNameSize bytes) then holds the quoted
    // display name. groupFolder may be "" or null.
    bool FindName(const char* address, char* nameBuffer, const char* groupFolder);
    // The card of a listed address whose card file holds it, else nullptr.
    std::unique_ptr<SVcardItem> FindCard(const char* address, const char* groupFolder);
};

// The host's address books, a folder of its data folder.
constexpr char kAddrBookFolder[] = "AddrBook";

// The start-up build over rootPath, the "AddrBook" folder. On failure shows
// message 15 and answers nullptr; the plug-in goes on without index.
std::unique_ptr<SHalyardAddrBook> BuildAddressIndex(const std::string& rootPath);
