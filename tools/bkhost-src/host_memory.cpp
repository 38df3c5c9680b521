#include "host_memory.h"

#include <cstdlib>
#include <cstring>

SHostHeap::~SHostHeap() {
    for (void* block : blocks_) std::free(block);
}

void* SHostHeap::Alloc(size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (block) blocks_.insert(block);
    return block;
}

void* SHostHeap::ReAlloc(void* block, size_t size, bool* known) {
    *known = true;
    if (!block) return Alloc(size);
    auto found = blocks_.find(block);
    if (found == blocks_.end()) {
        *known = false;
        return nullptr;
    }
    void* moved = std::realloc(block, size ? size : 1);
    if (!moved) return nullptr;   // the old block stays valid and tracked
    blocks_.erase(found);
    blocks_.insert(moved);
    return moved;
}

bool SHostHeap::Free(void* block) {
    auto found = blocks_.find(block);
    if (found == blocks_.end()) return false;
    blocks_.erase(found);
    std::free(block);
    return true;
}

char* SHostHeap::Text(std::string_view text) {
    char* copy = static_cast<char*>(Alloc(text.size() + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

SHostHeap& HostHeap() {
    static SHostHeap heap;
    return heap;
}
