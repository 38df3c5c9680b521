// SHalyardAddrBook: which name an address is listed under and what its card
// says, trying the mail folder's linked group folder first.
#include "addressbook/halyard_addr_book.h"

#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "addressbook/display_name.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "resources/string_ids.h"

namespace {

// One search: what the caller asked for and where the answer goes.
struct Lookup {
    SHalyardAddrBook* book;
    const char* address;
    char* nameOut;          // FindName
    SVcardItem** itemOut;   // FindCard
};

// A folder holds the name when its index lists the address and its index
// file is still on disk. The records are asked first, so that the file
// system is asked only about a folder whose records answer.
bool TestName(size_t position, SGroupIndex& index, const uint32_t* offsets, size_t count,
              void* context) {
    auto* search = static_cast<Lookup*>(context);
    const char* name = index.LookupAt(offsets, count, search->address, nullptr);
    if (!name || std::strlen(name) >= kNameSize) return false;
    const std::string path = JoinPath(search->book->WalkPath(position), kIndexFileName);
    if (!platform::FileExists(path.c_str())) return false;
    QuoteDisplayName(search->nameOut, kNameSize, name);
    return true;
}

// A folder holds the card when its index lists the address and the card
// file named there holds it too.
bool TestCard(size_t, SGroupIndex& index, const uint32_t* offsets, size_t count, void* context) {
    auto* search = static_cast<Lookup*>(context);
    SVcardItem* item = nullptr;
    const char* name = index.LookupAt(offsets, count, search->address, &item);
    if (!name || !item) {
        delete item;
        return false;
    }
    *search->itemOut = item;
    return true;
}

// The group folder and its subfolders first, then every folder in walk
// order.
bool RunSearch(SHalyardAddrBook* book, const char* groupFolder, FolderTest test, Lookup* search) {
    size_t first = 0, end = 0;
    if (book->GroupRange(groupFolder, &first, &end) &&
        book->Search(first, end, search->address, test, search))
        return true;
    return book->Search(0, book->WalkSize(), search->address, test, search);
}

}  // namespace

SHalyardAddrBook::SHalyardAddrBook(const char* rootPath) : SAddressBook(rootPath) {}

SHalyardAddrBook::~SHalyardAddrBook() = default;

bool SHalyardAddrBook::FindName(const char* address, char* nameBuffer, const char* groupFolder) {
    if (!address || !nameBuffer) return false;
    Lookup search{this, address, nameBuffer, nullptr};
    return RunSearch(this, groupFolder, TestName, &search);
}

bool SHalyardAddrBook::FindCard(const char* address, SVcardItem** item, const char* groupFolder) {
    if (!address || !item) return false;
    *item = nullptr;
    Lookup search{this, address, nullptr, item};
    return RunSearch(this, groupFolder, TestCard, &search);
}

std::unique_ptr<SHalyardAddrBook> BuildAddressIndex(const char* dataFolder) {
    try {
        std::string root = JoinPath(dataFolder ? dataFolder : "", "AddrBook");
        return std::make_unique<SHalyardAddrBook>(root.c_str());
    } catch (const std::exception&) {
        ShowErrorBox(nullptr, kStrNoAddressBook);
        return nullptr;
    }
}
