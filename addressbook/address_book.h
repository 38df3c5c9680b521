// The host's address books on disk: books, their folder trees, the folder
// index files ("Group.idx") and the mail folders' links to a folder.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/vcard.h"
#include "common/small_file.h"
#include "common/sizes.h"

struct FolderNode {
    std::string name;   // book nodes: content path; folder nodes: directory name
    FolderNode* parent = nullptr;
    std::vector<std::unique_ptr<FolderNode>> children;
};

// Returns true to stop the walk.
using FolderVisitor = bool (*)(const FolderNode& node, const char* fullPath, void* context);

class SGroupIndex : public SSmallFile {
public:
    explicit SGroupIndex(const char* indexPath);
    ~SGroupIndex() override;

    // The display name of the address (held here, valid until the next
    // lookup) or nullptr. With card given, *card receives a new item owned by
    // the caller, or nullptr.
    const char* Lookup(const char* address, SVcardItem** card);
    SVCard* LoadCard(const char* cardPath);

private:
    SVcardItem* MakeCard(const char* address);

    char drive_[3] = {};
    char directory_[256] = {};
    char cardName_[513] = {};
    char displayName_[1024] = {};
    char address_[1024] = {};
    bool directoryFits_ = false;
    std::map<std::string, std::unique_ptr<SVCard>> cardCache_;
};

class SAddressBook {
public:
    // rootPath: the "AddrBook" folder. Scans at once.
    explicit SAddressBook(const char* rootPath);
    virtual ~SAddressBook();
    SAddressBook(const SAddressBook&) = delete;
    SAddressBook& operator=(const SAddressBook&) = delete;

    void Rebuild();
    bool ForEachFolder(FolderVisitor visitor, void* context) const;
    bool ForEachSubfolder(const FolderNode& node, const char* nodePath, FolderVisitor visitor,
                          void* context) const;
    // Cached, loaded on first use; never null.
    SGroupIndex* GetGroupIndex(const char* indexPath);
    // The folder linked to a mail folder, or "".
    std::string ResolveFolderGroup(const char* dataFolder, const char* mailFolder) const;

    // Content paths of the books, in scan order.
    std::vector<std::string> BookContentPaths() const;
    const std::map<std::string, std::string>& BookPaths() const { return bookPaths_; }
    const std::string& RootPath() const { return rootPath_; }

private:
    std::string rootPath_;
    std::map<std::string, std::string> bookPaths_;
    std::unique_ptr<FolderNode> root_;
    std::map<std::string, std::unique_ptr<SGroupIndex>> groupIndexCache_;
};
