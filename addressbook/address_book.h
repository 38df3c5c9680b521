// The host's address books on disk: books, their folder trees, the folder
// index files ("Group.idx") and the mail folders' links to a folder.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "addressbook/address_table.h"
#include "addressbook/vcard.h"
#include "common/platform.h"
#include "common/small_file.h"
#include "common/sizes.h"

// A folder's index file, in the folder's own directory.
constexpr char kIndexFileName[] = "Group.idx";

struct FolderNode {
    std::string name;   // book nodes: content path; folder nodes: directory name
    FolderNode* parent = nullptr;
    std::vector<std::unique_ptr<FolderNode>> children;
    bool hasIndex = false;            // "Group.idx" was listed by the scan
    platform::FileStamp indexStamp;   // as the scan listed it
};

// One book under the "AddrBook" folder: its folder name ("@Main") and the
// folder that holds its contents (Address.ini's [Settings] Path, else its
// own folder).
struct BookFolder {
    std::string name;
    std::string contentPath;
};
// The books in scan order. *listed (when given) tells whether the folder
// could be listed at all.
std::vector<BookFolder> ListBooks(const std::string& rootPath, bool* listed = nullptr);

// Returns true to stop the walk.
using FolderVisitor = bool (*)(const FolderNode& node, const char* fullPath, void* context);

class SGroupIndex : public SSmallFile {
public:
    // A record before the file's first stop point (a malformed or over-long
    // record ends every lookup in the file), with its address's hash.
    struct Record {
        uint32_t hash;     // FoldedAddressHash of the address field
        uint32_t offset;   // where the record starts
    };

    // Reads the file whole and lists its records once.
    explicit SGroupIndex(const char* indexPath);
    ~SGroupIndex() override;

    // The display name of the address (held here, valid until the next
    // lookup) or nullptr. With card given, *card receives the address's card
    // item, or nothing.
    const char* Lookup(const char* address, std::unique_ptr<SVcardItem>* card);
    // The same over the records at the given offsets (ascending): the ones
    // whose address hashes like the one looked up.
    const char* LookupAt(const uint32_t* offsets, size_t count, const char* address,
                         std::unique_ptr<SVcardItem>* card);
    SVCard* LoadCard(const char* cardPath);

    const std::vector<Record>& Records() const { return records_; }
    // Drops the cached cards whose files changed since they were read.
    void ForgetChangedCards();

    // The file's stamp as the scan before its reading saw it; a rebuild
    // keeps the index when the new scan sees the same.
    bool stamped = false;
    platform::FileStamp stamp;
    uint32_t slot = SAddressTable::kNoSlot;   // its number in the address table

private:
    struct CachedCard {
        std::unique_ptr<SVCard> card;
        bool stamped = false;
        platform::FileStamp stamp;   // taken before the read
    };
    void ListRecords();
    // Whether the record at offset holds the address; fills the scratch.
    bool MatchRecord(uint32_t offset, const char* address, bool wantCard);
    const char* Matched(const char* address, std::unique_ptr<SVcardItem>* card);
    std::unique_ptr<SVcardItem> MakeCard(const char* address);

    char drive_[3] = {};
    char directory_[256] = {};
    char cardName_[513] = {};
    char displayName_[1024] = {};
    char address_[1024] = {};
    bool directoryFits_ = false;
    size_t textSize_ = 0;   // up to the first NUL
    std::vector<Record> records_;
    std::map<std::string, CachedCard> cardCache_;
};

// What a lookup asks of one folder that may hold the address: the folder's
// walk position, its index and the offsets of the candidate records (in
// file order). True when the folder holds the address; the search ends.
using FolderTest = bool (*)(size_t position, SGroupIndex& index, const uint32_t* offsets,
                            size_t count, void* context);

class SAddressBook {
public:
    // rootPath: the "AddrBook" folder. Scans at once.
    explicit SAddressBook(const char* rootPath);
    virtual ~SAddressBook();
    SAddressBook(const SAddressBook&) = delete;
    SAddressBook& operator=(const SAddressBook&) = delete;

    // Scans the books again; index files listed unchanged are kept.
    void Rebuild();
    // Reads again what the change watcher reported: the index of each
    // folder whose "Group.idx" changed, the cards of a folder whose files
    // changed; a folder made, renamed or removed scans everything again.
    void ApplyChanges(const std::vector<platform::FolderChange>& changes);
    // Reads again the index files that were there but could not be read
    // (another program held them open, a share gone away), and scans again
    // once a folder that could not be listed is back; their last good
    // entries served meanwhile. True when there were any.
    bool RetryUnreadable();
    bool ForEachFolder(FolderVisitor visitor, void* context) const;
    bool ForEachSubfolder(const FolderNode& node, const char* nodePath, FolderVisitor visitor,
                          void* context) const;
    // Cached, loaded on first use; never null.
    SGroupIndex* GetGroupIndex(const char* indexPath);
    // The folder linked to a mail folder, or "".
    std::string ResolveFolderGroup(const char* dataFolder, const char* mailFolder) const;

    // The folders in walk order, as ForEachFolder visits them.
    size_t WalkSize() const { return walk_.size(); }
    const std::string& WalkPath(size_t position) const { return walk_[position].path; }
    // The group folder and its subfolders: the walk positions [*first, *end)
    // of the first folder whose path begins with groupFolder (ASCII case
    // ignored). False when none does.
    bool GroupRange(const char* groupFolder, size_t* first, size_t* end);
    // Tests, in walk order, each folder of [first, end) that may hold the
    // address, until one test answers true. Index files are read when the
    // search first reaches their folder, as a walk testing every folder
    // would read them.
    bool Search(size_t first, size_t end, const char* address, FolderTest test, void* context);

    // Content paths of the books, in scan order.
    std::vector<std::string> BookContentPaths() const;
    const std::map<std::string, std::string>& BookPaths() const { return bookPaths_; }
    const std::string& RootPath() const { return rootPath_; }

private:
    static constexpr uint32_t kNoPosition = UINT32_MAX;   // a slot outside the walk
    struct WalkFolder {
        std::string path;
        size_t end;                    // one past its last subfolder
        const FolderNode* node;
        uint32_t slot;                 // its index in the table, once read
    };
    void ScanBooks(const FolderNode* previous, std::map<std::string, std::string>* previousPaths);
    void ListWalk(const FolderNode& node, const std::string& path);
    void Read(size_t position);
    // The first position at or after position whose index is not read yet.
    size_t NextUnread(size_t position);
    void AddToTable(SGroupIndex* index, size_t position);
    std::string IndexPath(size_t position) const;
    // The folder's index read again now, in place of the one read before;
    // unreadable: the one read before stays and the folder is retried.
    void Reread(size_t position);
    // Takes the index into the cache and the table for the folder.
    void Install(size_t position, std::unique_ptr<SGroupIndex> index);
    // Forgets the folder's index and its entries.
    void Drop(size_t position);
    void CompactIfSparse();
    // Keeps the indexes whose files the new scan lists unchanged.
    void KeepUnchanged(std::map<std::string, std::unique_ptr<SGroupIndex>> old);
    void CompactTable();

    std::string rootPath_;
    std::map<std::string, std::string> bookPaths_;
    std::unique_ptr<FolderNode> root_;
    std::map<std::string, std::unique_ptr<SGroupIndex>> groupIndexCache_;

    std::vector<WalkFolder> walk_;
    std::vector<uint32_t> nextUnread_;          // union-find over read positions
    SAddressTable table_;
    std::vector<SGroupIndex*> slots_;           // null once dropped
    std::vector<uint32_t> slotPositions_;       // walk position of each slot
    size_t liveEntries_ = 0;
    std::map<std::string, std::pair<size_t, size_t>> groupRanges_;
    std::unordered_map<std::string, size_t> positions_;   // folder path -> walk position
    std::set<std::string> unreadable_;                    // folders to read again
    std::set<std::string> unlisted_;                      // folders to list again
};
