// Which index files list an address: one open-addressing table for the
// whole address book from the hash of an address (ASCII letters folded, so
// that one table serves both IgnoreCase settings) to the records that may
// hold it. A hit is only a candidate: the record itself decides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The hash of an address with A-Z folded to a-z.
uint32_t FoldedAddressHash(std::string_view address);

struct AddressEntry {
    uint32_t hash;
    uint32_t slot;     // which index file (SAddressBook's slot number)
    uint32_t offset;   // where its record starts in the file
};

class SAddressTable {
public:
    static constexpr uint32_t kNoSlot = UINT32_MAX;

    void Insert(const AddressEntry& entry);
    void Clear();
    size_t Size() const { return size_; }
    size_t MemoryBytes() const { return cells_.capacity() * sizeof(AddressEntry); }

    // Calls visit(entry) for every entry of the hash, in no given order.
    template <typename Visit>
    void ForEach(uint32_t hash, Visit visit) const {
        if (cells_.empty()) return;
        for (size_t i = hash & mask_; cells_[i].slot != kNoSlot; i = (i + 1) & mask_) {
            if (cells_[i].hash == hash) visit(cells_[i]);
        }
    }

private:
    void Grow();

    std::vector<AddressEntry> cells_;
    size_t mask_ = 0;
    size_t size_ = 0;
};
