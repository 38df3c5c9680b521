// The search side of SAddressBook: the folders flattened into walk order
// (a folder's subfolders follow it, so a group folder is a range), index
// files read as the walk first reaches them, and one address table that
// leads a lookup straight to the folders that may hold the address.
#include <algorithm>
#include <string_view>

#include "addressbook/address_book.h"
#include "common/text.h"

namespace {

constexpr size_t kNoRange = static_cast<size_t>(-1);
// Dropped indexes leave their entries in the table; past this share of
// dead entries the table is built again from the live ones.
constexpr size_t kDeadShare = 2;

}  // namespace

void SAddressBook::ListWalk(const FolderNode& node, const std::string& path) {
    if (node.name == ".svn") return;   // never visited, nor anything below it
    const size_t at = walk_.size();
    walk_.push_back({path, 0, &node, SAddressTable::kNoSlot});
    for (const auto& child : node.children) ListWalk(*child, JoinPath(path, child->name));
    walk_[at].end = walk_.size();
}

size_t SAddressBook::NextUnread(size_t position) {
    size_t root = position;
    while (nextUnread_[root] != root) root = nextUnread_[root];
    while (nextUnread_[position] != root) {
        const size_t next = nextUnread_[position];
        nextUnread_[position] = static_cast<uint32_t>(root);
        position = next;
    }
    return root;
}

void SAddressBook::AddToTable(SGroupIndex* index, size_t position) {
    const auto slot = static_cast<uint32_t>(slots_.size());
    slots_.push_back(index);
    slotPositions_.push_back(static_cast<uint32_t>(position));
    index->slot = slot;
    walk_[position].slot = slot;
    for (const SGroupIndex::Record& record : index->Records())
        table_.Insert({record.hash, slot, record.offset});
    liveEntries_ += index->Records().size();
}

void SAddressBook::Read(size_t position) {
    nextUnread_[position] = static_cast<uint32_t>(position + 1);
    const std::string path = JoinPath(walk_[position].path, kIndexFileName);
    if (path.size() >= kPathSize) return;   // never tested
    SGroupIndex* index = GetGroupIndex(path.c_str());
    if (index->slot != SAddressTable::kNoSlot) {   // read before through GetGroupIndex's users
        slotPositions_[index->slot] = static_cast<uint32_t>(position);
        walk_[position].slot = index->slot;
        return;
    }
    const FolderNode& node = *walk_[position].node;
    // The scan came before this read: a file changed since shows another stamp.
    index->stamped = node.hasIndex && index->Contents() != nullptr;
    // Listed but not readable: held open by another program for now.
    if (node.hasIndex && !index->Contents()) unreadable_.insert(walk_[position].path);
    index->stamp = node.indexStamp;
    AddToTable(index, position);
}

void SAddressBook::CompactIfSparse() {
    if (table_.Size() > kDeadShare * liveEntries_) CompactTable();
}

void SAddressBook::CompactTable() {
    std::vector<SGroupIndex*> live;
    std::vector<uint32_t> positions;
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
        if (!slots_[slot]) continue;
        live.push_back(slots_[slot]);
        positions.push_back(slotPositions_[slot]);
    }
    table_.Clear();
    slots_.clear();
    slotPositions_.clear();
    liveEntries_ = 0;
    for (size_t i = 0; i < live.size(); ++i) {
        live[i]->slot = SAddressTable::kNoSlot;
        if (positions[i] == kNoPosition) continue;   // cached, but not in the walk
        AddToTable(live[i], positions[i]);
    }
}

bool SAddressBook::GroupRange(const char* groupFolder, size_t* first, size_t* end) {
    if (!groupFolder || groupFolder[0] == '\0') return false;
    auto cached = groupRanges_.find(groupFolder);
    if (cached == groupRanges_.end()) {
        const std::string_view prefix(groupFolder);
        std::pair<size_t, size_t> range{kNoRange, kNoRange};
        for (size_t i = 0; i < walk_.size(); ++i) {
            const std::string& path = walk_[i].path;
            if (path.size() >= prefix.size() &&
                EqualNoCaseAscii(std::string_view(path).substr(0, prefix.size()), prefix)) {
                range = {i, walk_[i].end};
                break;
            }
        }
        cached = groupRanges_.emplace(groupFolder, range).first;
    }
    *first = cached->second.first;
    *end = cached->second.second;
    return *first != kNoRange;
}

bool SAddressBook::Search(size_t first, size_t end, const char* address, FolderTest test,
                          void* context) {
    if (!address || !test) return false;
    end = std::min(end, walk_.size());
    const uint32_t hash = FoldedAddressHash(address);
    std::vector<uint32_t> offsets;
    size_t position = first;
    while (position < end) {
        // Folders before the first unread one are in the table: the first
        // of them listing the hash is the next candidate.
        const size_t unread = std::min(NextUnread(position), end);
        size_t best = kNoRange;
        table_.ForEach(hash, [&](const AddressEntry& entry) {
            const size_t at = slotPositions_[entry.slot];
            if (at != kNoPosition && at >= position && at < unread && at < best) best = at;
        });
        if (best != kNoRange) {
            const uint32_t slot = walk_[best].slot;
            offsets.clear();
            table_.ForEach(hash, [&](const AddressEntry& entry) {
                if (entry.slot == slot) offsets.push_back(entry.offset);
            });
            std::sort(offsets.begin(), offsets.end());
            if (test(best, *slots_[slot], offsets.data(), offsets.size(), context)) return true;
            position = best + 1;
            continue;
        }
        if (unread >= end) return false;
        Read(unread);
        position = unread;
    }
    return false;
}
