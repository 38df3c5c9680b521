// SHalyardAddrBook: which name an address is listed under and what its card
// says, trying the mail folder's linked group folder first.
#include "addressbook/halyard_addr_book.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

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
    std::unique_ptr<SVcardItem>* itemOut;   // FindCard
};

// A folder holds the name when its index lists the address and its index
// file is still on disk, or out of reach with its folder. The records are asked first, so that the file
// system is asked only about a folder whose records answer.
bool TestName(size_t position, SGroupIndex& index, const uint32_t* offsets, size_t count,
              void* context) {
    auto* search = static_cast<Lookup*>(context);
    const char* name = index.LookupAt(offsets, count, search->address, nullptr);
    if (!name || std::strlen(name) >= kNameSize) return false;
    const std::string& folder = search->book->WalkPath(position);
    const std::string path = JoinPath(folder, kIndexFileName);
    // Gone from a folder that is there; a folder out of reach (a share gone
    // away) keeps serving what was read from it.
    if (!platform::FileExists(path.c_str()) && platform::IsDirectory(folder.c_str())) return false;
    QuoteDisplayName(search->nameOut, kNameSize, name);
    return true;
}

// A folder holds the card when its index lists the address and the card
// file named there holds it too.
bool TestCard(size_t, SGroupIndex& index, const uint32_t* offsets, size_t count, void* context) {
    auto* search = static_cast<Lookup*>(context);
    std::unique_ptr<SVcardItem> item;
    const char* name = index.LookupAt(offsets, count, search->address, &item);
    if (!name || !item) return false;
    *search->itemOut = std::move(item);
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

std::unique_ptr<SVcardItem> SHalyardAddrBook::FindCard(const char* address, const char* groupFolder) {
    std::unique_ptr<SVcardItem> item;
    if (!address) return item;
    Lookup search{this, address, nullptr, &item};
    RunSearch(this, groupFolder, TestCard, &search);
    return item;
}

std::unique_ptr<SHalyardAddrBook> BuildAddressIndex(const std::string& rootPath) {
    try {
        return std::make_unique<SHalyardAddrBook>(rootPath.c_str());
    } catch (const std::exception&) {
        ShowErrorBox(nullptr, kStrNoAddressBook);
        return nullptr;
    }
}
