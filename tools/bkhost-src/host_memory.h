// Memory the host hands to the plug-in. Every block is tracked, so that a
// block the plug-in never gives back, or gives back twice, is seen.
#pragma once

#include <cstddef>
#include <set>
#include <string_view>

class SHostHeap {
public:
    SHostHeap() = default;
    SHostHeap(const SHostHeap&) = delete;
    SHostHeap& operator=(const SHostHeap&) = delete;
    virtual ~SHostHeap();

    void* Alloc(size_t size);
    // nullptr when block is not one of ours (the block is left alone).
    void* ReAlloc(void* block, size_t size, bool* known);
    // False when block is not one of ours; nothing is freed then.
    bool Free(void* block);
    // A NUL-terminated copy of text.
    char* Text(std::string_view text);

    size_t Outstanding() const { return blocks_.size(); }

private:
    std::set<void*> blocks_;
};

SHostHeap& HostHeap();
