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

constexpr char kIndexFileName[] = "Group.idx";
constexpr char kQuotedCharacters[] = ",;:.@*()<>/?+|";

// The first folder of the walk whose path begins with a prefix.
struct FindPrefix {
    std::string_view prefix;
    const FolderNode* node = nullptr;
    std::string path;
};

bool MatchPrefix(const FolderNode& node, const char* fullPath, void* context) {
    auto* find = static_cast<FindPrefix*>(context);
    std::string_view path(fullPath);
    if (path.size() < find->prefix.size() ||
        !EqualNoCaseAscii(path.substr(0, find->prefix.size()), find->prefix))
        return false;
    find->node = &node;
    find->path = fullPath;
    return true;
}

// One search: the test that decides whether a folder holds the address.
struct Search {
    SHalyardAddrBook* book;
    const char* address;
    char* nameOut;          // FindName
    SVcardItem** itemOut;   // FindCard
};

std::string IndexPath(const char* folderPath) { return JoinPath(folderPath, kIndexFileName); }

bool TestName(const FolderNode&, const char* fullPath, void* context) {
    auto* search = static_cast<Search*>(context);
    std::string path = IndexPath(fullPath);
    if (path.size() >= kPathSize || !platform::FileExists(path.c_str())) return false;
    const char* name = search->book->GetGroupIndex(path.c_str())->Lookup(search->address, nullptr);
    if (!name || std::strlen(name) >= kNameSize) return false;
    QuoteDisplayName(search->nameOut, kNameSize, name);
    return true;
}

bool TestCard(const FolderNode&, const char* fullPath, void* context) {
    auto* search = static_cast<Search*>(context);
    std::string path = IndexPath(fullPath);
    if (path.size() >= kPathSize) return false;
    SVcardItem* item = nullptr;
    const char* name = search->book->GetGroupIndex(path.c_str())->Lookup(search->address, &item);
    if (!name || !item) {
        delete item;
        return false;
    }
    *search->itemOut = item;
    return true;
}

bool RunSearch(SHalyardAddrBook* book, const char* groupFolder, FolderVisitor test,
               Search* search) {
    if (groupFolder && groupFolder[0] != '\0') {
        FindPrefix find;
        find.prefix = groupFolder;
        if (book->ForEachFolder(MatchPrefix, &find)) {
            if (test(*find.node, find.path.c_str(), search)) return true;
            if (book->ForEachSubfolder(*find.node, find.path.c_str(), test, search)) return true;
        }
    }
    return book->ForEachFolder(test, search);
}

}  // namespace

SHalyardAddrBook::SHalyardAddrBook(const char* rootPath) : SAddressBook(rootPath) {}

SHalyardAddrBook::~SHalyardAddrBook() = default;

bool SHalyardAddrBook::FindName(const char* address, char* nameBuffer, const char* groupFolder) {
    if (!address || !nameBuffer) return false;
    Search search{this, address, nameBuffer, nullptr};
    return RunSearch(this, groupFolder, TestName, &search);
}

bool SHalyardAddrBook::FindCard(const char* address, SVcardItem** item, const char* groupFolder) {
    if (!address || !item) return false;
    *item = nullptr;
    Search search{this, address, nullptr, item};
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
