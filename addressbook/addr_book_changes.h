// What the change watcher saw since the address index last caught up: the
// paths it reported, or that anything may have changed. The watcher's
// thread adds; the host's thread takes everything before a look-up.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "common/platform.h"

class AddressBookChanges {
public:
    // A change the watcher reported; kUnknown means anything may have changed.
    void Add(const platform::FolderChange& change);
    // Whether anything waits; cheap enough for every look-up.
    bool Pending() const { return pending_.load() != 0; }

    struct Batch {
        bool everything = false;   // read the whole book again
        std::vector<platform::FolderChange> changes;
    };
    // Everything added so far, in the order it came; empties the queue.
    Batch Take();

private:
    // More changes than this before the reader comes: it reads everything.
    static constexpr size_t kMaxChanges = 4096;

    std::atomic<uint8_t> pending_{0};
    std::mutex mutex_;
    Batch batch_;
};
