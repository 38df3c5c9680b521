// SAddressBook: the books and their folder trees, the walks over them, and
// the mail folders' links to a folder.
#include "addressbook/address_book.h"

#include <cstring>
#include <string_view>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"

namespace {

constexpr size_t kLinkSize = 1028;          // "AddrGrp" value buffer
constexpr size_t kResolveLimit = 256;       // data folder + mail folder + 2
constexpr size_t kBookNameLimit = 255;      // book part of a folder link

bool IsBookName(const std::string& name) {
    return !name.empty() && (name[0] == '@' || name[0] == '^' || name[0] == '~');
}

std::unique_ptr<FolderNode> CopyTree(const FolderNode& node, FolderNode* parent) {
    auto copy = std::make_unique<FolderNode>();
    copy->name = node.name;
    copy->parent = parent;
    copy->hasIndex = node.hasIndex;
    copy->indexStamp = node.indexStamp;
    for (const auto& child : node.children) copy->children.push_back(CopyTree(*child, copy.get()));
    return copy;
}

const FolderNode* ChildNamed(const FolderNode* node, const std::string& name) {
    if (!node) return nullptr;
    for (const auto& child : node->children)
        if (child->name == name) return child.get();
    return nullptr;
}

// Lists the folder's subfolders into parent, recursively. A folder that
// cannot be listed now (a share gone away) keeps what the previous scan
// found there, from old, and is named in *unlisted.
void ScanFolders(FolderNode* parent, const std::string& path, const FolderNode* old,
                 std::set<std::string>* unlisted) {
    // Longer paths cannot be opened by the system's ANSI functions; this
    // also ends a loop of links on systems that have them.
    if (path.size() >= kPathSize) return;
    std::vector<std::pair<FolderNode*, std::string>> folders;
    const bool listed = platform::ListDirectory(path.c_str(), "*.*", [&](const platform::DirEntry& entry) {
        if (!entry.isDirectory) {
            // Its stamp tells a rebuild whether the index read before is current.
            if (EqualNoCaseAscii(entry.name, kIndexFileName)) {
                parent->hasIndex = true;
                parent->indexStamp = entry.stamp;
            }
            return true;
        }
        auto child = std::make_unique<FolderNode>();
        child->name = entry.name;
        child->parent = parent;
        folders.emplace_back(child.get(), entry.name);
        parent->children.push_back(std::move(child));
        return true;
    });
    if (!listed) {
        unlisted->insert(path);
        parent->children.clear();
        parent->hasIndex = old && old->hasIndex;
        parent->indexStamp = old ? old->indexStamp : platform::FileStamp{};
        if (old)
            for (const auto& child : old->children) parent->children.push_back(CopyTree(*child, parent));
        return;
    }
    for (const auto& folder : folders)
        ScanFolders(folder.first, JoinPath(path, folder.second), ChildNamed(old, folder.second), unlisted);
}

bool Walk(const FolderNode& node, const std::string& path, FolderVisitor visitor, void* context) {
    if (node.name == ".svn") return false;
    if (visitor(node, path.c_str(), context)) return true;
    for (const auto& child : node.children) {
        if (Walk(*child, JoinPath(path, child->name), visitor, context)) return true;
    }
    return false;
}

// strtok over a string_view: the next piece between delimiters, or empty.
std::string_view NextPiece(std::string_view* rest, char delimiter) {
    size_t start = rest->find_first_not_of(delimiter);
    if (start == std::string_view::npos) {
        *rest = {};
        return {};
    }
    rest->remove_prefix(start);
    size_t end = rest->find(delimiter);
    std::string_view piece = rest->substr(0, end);
    rest->remove_prefix(end == std::string_view::npos ? rest->size() : end + 1);
    return piece;
}

}  // namespace

std::vector<BookFolder> ListBooks(const std::string& rootPath, bool* listed) {
    std::vector<BookFolder> books;
    if (listed) *listed = false;
    if (rootPath.empty()) return books;
    const bool ok = platform::ListDirectory(rootPath.c_str(), "*.*", [&](const platform::DirEntry& entry) {
        if (!entry.isDirectory || !IsBookName(entry.name)) return true;
        std::string directory = JoinPath(rootPath, entry.name);
        char content[kPathSize] = {};
        std::string ini = JoinPath(directory, "Address.ini");
        platform::ProfileGetString("Settings", "Path", "", content, sizeof content, ini.c_str());
        std::string contentPath = content;
        if (contentPath.empty()) {
            contentPath = directory;
            if (EndsWithSeparator(contentPath)) contentPath.pop_back();
        }
        books.push_back({entry.name, std::move(contentPath)});
        return true;
    });
    if (listed) *listed = ok;
    return books;
}

SAddressBook::SAddressBook(const char* rootPath) : rootPath_(rootPath ? rootPath : "") {
    Rebuild();
}

SAddressBook::~SAddressBook() = default;

void SAddressBook::Rebuild() {
    std::map<std::string, std::unique_ptr<SGroupIndex>> old;
    old.swap(groupIndexCache_);
    // What the last scan found serves for a folder that cannot be listed now.
    std::map<std::string, std::string> previousPaths;
    previousPaths.swap(bookPaths_);
    const std::unique_ptr<FolderNode> previous = std::move(root_);
    unlisted_.clear();
    root_ = std::make_unique<FolderNode>();
    walk_.clear();
    groupRanges_.clear();
    ScanBooks(previous.get(), &previousPaths);
    for (const auto& book : root_->children) {
        for (const auto& child : book->children) ListWalk(*child, JoinPath(book->name, child->name));
    }
    nextUnread_.resize(walk_.size() + 1);
    for (size_t i = 0; i < nextUnread_.size(); ++i) nextUnread_[i] = static_cast<uint32_t>(i);
    positions_.clear();
    positions_.reserve(walk_.size());
    for (size_t i = 0; i < walk_.size(); ++i) positions_.emplace(walk_[i].path, i);
    KeepUnchanged(std::move(old));
}

void SAddressBook::ScanBooks(const FolderNode* previous, std::map<std::string, std::string>* previousPaths) {
    bool listed = false;
    std::vector<BookFolder> books = ListBooks(rootPath_, &listed);
    if (!listed && !rootPath_.empty()) {
        // The "AddrBook" folder itself out of reach: the books as they were.
        unlisted_.insert(rootPath_);
        if (previous) {
            for (const auto& book : previous->children) root_->children.push_back(CopyTree(*book, root_.get()));
            bookPaths_.swap(*previousPaths);
        }
        return;
    }
    for (BookFolder& book : books) {
        auto node = std::make_unique<FolderNode>();
        node->name = book.contentPath;
        node->parent = root_.get();
        FolderNode* added = node.get();
        root_->children.push_back(std::move(node));
        ScanFolders(added, book.contentPath, ChildNamed(previous, book.contentPath), &unlisted_);
        bookPaths_.emplace(std::move(book.name), std::move(book.contentPath));
    }
}

bool SAddressBook::ForEachFolder(FolderVisitor visitor, void* context) const {
    if (!root_ || !visitor) return false;
    for (const auto& book : root_->children) {
        if (ForEachSubfolder(*book, book->name.c_str(), visitor, context)) return true;
    }
    return false;
}

bool SAddressBook::ForEachSubfolder(const FolderNode& node, const char* nodePath,
                                    FolderVisitor visitor, void* context) const {
    if (!visitor || !nodePath) return false;
    for (const auto& child : node.children) {
        if (Walk(*child, JoinPath(nodePath, child->name), visitor, context)) return true;
    }
    return false;
}

SGroupIndex* SAddressBook::GetGroupIndex(const char* indexPath) {
    auto found = groupIndexCache_.find(indexPath);
    if (found != groupIndexCache_.end()) return found->second.get();
    auto index = std::make_unique<SGroupIndex>(indexPath);
    SGroupIndex* result = index.get();
    groupIndexCache_.emplace(indexPath, std::move(index));
    return result;
}

std::string SAddressBook::ResolveFolderGroup(const char* dataFolder, const char* mailFolder) const {
    if (!dataFolder || !mailFolder) return {};
    if (std::strlen(dataFolder) + std::strlen(mailFolder) + 2 >= kResolveLimit) return {};
    std::string ini = JoinPath(JoinPath(dataFolder, mailFolder), "Folder.ini");
    char link[kLinkSize] = {};
    platform::ProfileGetString("Settings", "AddrGrp", "", link, sizeof link, ini.c_str());
    std::string_view rest(link);
    if (rest.size() < 2) return {};
    std::string_view book = NextPiece(&rest, ':');
    if (book.empty() || book.size() >= kBookNameLimit) return {};
    std::string_view folder = NextPiece(&rest, ':');
    if (folder.empty()) return {};
    std::string key = "@";
    key += book;
    auto found = bookPaths_.find(key);
    if (found == bookPaths_.end()) return {};
    return JoinPath(found->second, folder);
}

std::vector<std::string> SAddressBook::BookContentPaths() const {
    std::vector<std::string> paths;
    if (!root_) return paths;
    for (const auto& book : root_->children) paths.push_back(book->name);
    return paths;
}
