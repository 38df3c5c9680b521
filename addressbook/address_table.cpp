#include "addressbook/address_table.h"

namespace {

constexpr size_t kFirstCapacity = 1024;   // a power of two
constexpr uint32_t kFnvBasis = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;

}  // namespace

uint32_t FoldedAddressHash(std::string_view address) {
    uint32_t hash = kFnvBasis;
    for (char c : address) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<unsigned char>(byte - 'A' + 'a');
        hash = (hash ^ byte) * kFnvPrime;
    }
    return hash;
}

void SAddressTable::Insert(const AddressEntry& entry) {
    // At most half full: probe runs stay short.
    if ((size_ + 1) * 2 > cells_.size()) Grow();
    size_t i = entry.hash & mask_;
    while (cells_[i].slot != kNoSlot) i = (i + 1) & mask_;
    cells_[i] = entry;
    ++size_;
}

void SAddressTable::Clear() {
    std::vector<AddressEntry>().swap(cells_);
    mask_ = 0;
    size_ = 0;
}

void SAddressTable::Grow() {
    std::vector<AddressEntry> old;
    old.swap(cells_);
    const size_t capacity = old.empty() ? kFirstCapacity : old.size() * 2;
    cells_.assign(capacity, AddressEntry{0, kNoSlot, 0});
    mask_ = capacity - 1;
    size_ = 0;
    for (const AddressEntry& entry : old) {
        if (entry.slot != kNoSlot) Insert(entry);
    }
}
