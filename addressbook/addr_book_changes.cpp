#include "addressbook/addr_book_changes.h"

#include <utility>

void AddressBookChanges::Add(const platform::FolderChange& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (change.kind == platform::FolderChangeKind::kUnknown || batch_.changes.size() >= kMaxChanges) {
        batch_.everything = true;
        batch_.changes.clear();
    } else if (!batch_.everything) {
        batch_.changes.push_back(change);
    }
    pending_.store(1);
}

AddressBookChanges::Batch AddressBookChanges::Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    // Cleared under the lock: a change added after this is kept for the
    // next look-up.
    pending_.store(0);
    return std::exchange(batch_, Batch{});
}
