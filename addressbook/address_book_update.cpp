// Keeping the index current between scans: after a rebuild, after the
// change watcher named what changed, and while an index file is held open
// by another program (the host, while it writes it). A file that cannot be
// read at the moment never empties its folder: its last good entries serve
// until it can be read again.
#include <algorithm>
#include <string_view>
#include <utility>

#include "addressbook/address_book.h"
#include "common/text.h"

namespace {

bool IsIndexName(std::string_view name) { return EqualNoCaseAscii(name, kIndexFileName); }

}  // namespace

std::string SAddressBook::IndexPath(size_t position) const {
    return JoinPath(walk_[position].path, kIndexFileName);
}

void SAddressBook::Install(size_t position, std::unique_ptr<SGroupIndex> index) {
    SGroupIndex* installed = index.get();
    groupIndexCache_[IndexPath(position)] = std::move(index);
    nextUnread_[position] = static_cast<uint32_t>(position + 1);
    AddToTable(installed, position);
}

void SAddressBook::Drop(size_t position) {
    walk_[position].slot = SAddressTable::kNoSlot;
    auto found = groupIndexCache_.find(IndexPath(position));
    if (found == groupIndexCache_.end()) return;
    const SGroupIndex& index = *found->second;
    if (index.slot != SAddressTable::kNoSlot) {
        slots_[index.slot] = nullptr;
        slotPositions_[index.slot] = kNoPosition;
        liveEntries_ -= index.Records().size();
    }
    groupIndexCache_.erase(found);
}

void SAddressBook::Reread(size_t position) {
    const std::string& folder = walk_[position].path;
    const std::string path = IndexPath(position);
    // Not read yet: the first search that reaches it reads it as it is now.
    if (path.size() >= kPathSize || NextUnread(position) == position) {
        unreadable_.erase(folder);
        return;
    }
    platform::FileStamp stamp;
    if (!platform::GetFileStamp(path.c_str(), &stamp)) {
        // The whole folder out of reach (a share gone away): tried again later.
        if (!platform::IsDirectory(folder.c_str())) {
            unreadable_.insert(folder);
            return;
        }
        unreadable_.erase(folder);   // gone, or a folder by that name
        Drop(position);
        return;
    }
    auto fresh = std::make_unique<SGroupIndex>(path.c_str());
    if (!fresh->Contents()) {
        unreadable_.insert(folder);
        return;
    }
    unreadable_.erase(folder);
    fresh->stamped = true;
    fresh->stamp = stamp;
    Drop(position);
    Install(position, std::move(fresh));
}

void SAddressBook::KeepUnchanged(std::map<std::string, std::unique_ptr<SGroupIndex>> old) {
    std::fill(slotPositions_.begin(), slotPositions_.end(), kNoPosition);
    unreadable_.clear();
    for (size_t position = 0; position < walk_.size(); ++position) {
        const FolderNode& node = *walk_[position].node;
        auto found = old.find(IndexPath(position));
        if (found == old.end()) continue;
        SGroupIndex* index = found->second.get();
        if (index->slot == SAddressTable::kNoSlot) continue;
        const bool unchanged =
            index->stamped && node.hasIndex && node.indexStamp == index->stamp;
        if (unchanged) {
            index->ForgetChangedCards();
        } else {
            if (!node.hasIndex) continue;   // gone: dropped below
            auto fresh = std::make_unique<SGroupIndex>(found->first.c_str());
            if (fresh->Contents()) {
                fresh->stamped = true;
                fresh->stamp = node.indexStamp;
                Install(position, std::move(fresh));
                continue;
            }
            // Listed but not readable now: the entries read before stay.
            unreadable_.insert(walk_[position].path);
            if (!index->Contents()) continue;
        }
        slotPositions_[index->slot] = static_cast<uint32_t>(position);
        walk_[position].slot = index->slot;
        nextUnread_[position] = static_cast<uint32_t>(position + 1);
        groupIndexCache_.emplace(found->first, std::move(found->second));
        old.erase(found);
    }
    for (const auto& dropped : old) {
        if (dropped.second->slot == SAddressTable::kNoSlot) continue;
        slots_[dropped.second->slot] = nullptr;
        liveEntries_ -= dropped.second->Records().size();
    }
    CompactIfSparse();
}

void SAddressBook::ApplyChanges(const std::vector<platform::FolderChange>& changes) {
    bool rescan = false;
    std::set<std::string> reread;   // folders whose index file changed
    for (const platform::FolderChange& change : changes) {
        const std::string_view path(change.path);
        const size_t split = DirectoryEnd(path);
        const std::string_view name = path.substr(split);
        std::string folder(path.substr(0, split > 0 ? split - 1 : 0));

        if (positions_.count(change.path)) {
            // A folder's own time follows what is in it; anything else
            // done to a folder (renamed, removed) changes the tree.
            rescan = rescan || change.kind != platform::FolderChangeKind::kModified;
            continue;
        }
        const bool newFolder = (change.kind == platform::FolderChangeKind::kAdded ||
                                change.kind == platform::FolderChangeKind::kRenamedTo) &&
                               platform::IsDirectory(change.path.c_str());
        if (newFolder || EqualNoCaseAscii(name, "Address.ini")) {
            rescan = true;
            continue;
        }
        const auto owner = positions_.find(folder);
        if (IsIndexName(name)) {
            // A folder the walk does not know yet comes with the rescan.
            rescan = rescan || owner == positions_.end();
            reread.insert(std::move(folder));
            continue;
        }
        if (owner == positions_.end()) continue;   // below a folder never searched
        // Another file of the folder: a card, or the host's scratch file.
        auto cached = groupIndexCache_.find(IndexPath(owner->second));
        if (cached != groupIndexCache_.end()) cached->second->ForgetChangedCards();
    }
    // A rescan keeps an index whose file looks unchanged; the ones named
    // are read again all the same, whatever their stamps say.
    if (rescan) Rebuild();
    for (const std::string& folder : reread) {
        const auto found = positions_.find(folder);
        if (found != positions_.end()) Reread(found->second);
    }
    CompactIfSparse();
}

bool SAddressBook::RetryUnreadable() {
    // A folder that could not be listed and can be now: scan everything again.
    const bool rescan = std::any_of(unlisted_.begin(), unlisted_.end(), [](const std::string& folder) {
        return platform::IsDirectory(folder.c_str());
    });
    if (rescan) Rebuild();
    if (unreadable_.empty()) return rescan;
    const std::set<std::string> folders = unreadable_;
    for (const std::string& folder : folders) {
        const auto found = positions_.find(folder);
        if (found == positions_.end())
            unreadable_.erase(folder);
        else
            Reread(found->second);
    }
    CompactIfSparse();
    return true;
}
