// SHalyardAddrBook: which name an address is listed under and what its card
// says, trying the mail folder's linked group folder first.
#include "addressbook/halyard_addr_book.h"

#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "resources/string_ids.h"

namespace {

constexpr char kQuotedCharacters[] = ",;:.@*()<>/?+|";

// One search: what the caller asked for and where the answer goes.
struct Lookup {
    SHalyardAddrBook* book;
    const char* address;
    char* nameOut;          // FindName
    SVcardItem** itemOut;   // FindCard
};

// A folder holds the name when its index file is still on disk and lists
// the address.
bool TestName(size_t position, SGroupIndex& index, const uint32_t* offsets, size_t count,
              void* context) {
    auto* search = static_cast<Lookup*>(context);
    const std::string path = JoinPath(search->book->WalkPath(position), kIndexFileName);
    if (!platform::FileExists(path.c_str())) return false;
    const char* name = index.LookupAt(offsets, count, search->address, nullptr);
    if (!name || std::strlen(name) >= kNameSize) return false;
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

void QuoteDisplayName(char* out, size_t outSize, const char* name) {
    if (!out || outSize == 0) return;
    std::string_view text(name ? name : "");
    bool special = false;
    for (size_t i = 0; i < text.size() && !special; ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        special = std::strchr(kQuotedCharacters, text[i]) != nullptr && text[i] != '\0';
    }
    if (!special || text.front() == '"' || text.size() + 2 >= outSize) {
        CopyBounded(out, outSize, text);
        return;
    }
    std::string quoted;
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') {
        quoted = '"' + std::string(text.substr(1, text.size() - 2)) + '"';
    } else {
        quoted = '"' + std::string(text) + '"';
    }
    CopyBounded(out, outSize, quoted);
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
