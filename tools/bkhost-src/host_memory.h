// Memory the host hands to the plug-in, in pages of its own, so that what
// the host takes back can be made inaccessible: a later read or write
// faults, and the fault handler names the block it hit.
//
// Two kinds of block. Answers (the folder, temp and mail functions) are
// valid until the next host function returns; they are not the plug-in's
// to free. Collected blocks (host texts, BKA_Alloc) belong to the frame of
// the call into the plug-in that is in progress when they are handed out
// and are reclaimed when that call returns, unless BKA_Free came first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

enum class SFreeResult { Freed, Unknown, FreedBefore, Reclaimed, Answer };

class SHostHeap {
public:
    SHostHeap();
    SHostHeap(const SHostHeap&) = delete;
    SHostHeap& operator=(const SHostHeap&) = delete;
    ~SHostHeap();

    // Each block is named after the host function in progress (SHostCall).
    // A collected block of size bytes; nullptr when the host is out of room.
    void* Alloc(size_t size);
    // Moves a collected block; *result says why nothing moved (the block is
    // then left alone). A null block allocates.
    void* ReAlloc(void* block, size_t size, SFreeResult* result);
    SFreeResult Free(void* block);
    // A NUL-terminated collected copy of text.
    char* Text(std::string_view text);
    // A NUL-terminated answer of function, valid until the next host call.
    const char* Answer(std::string_view text);

    // A counter that grows with every block handed out.
    uint64_t Sequence() const;
    // Every answer handed out before sequence before becomes inaccessible.
    void ExpireAnswers(uint64_t before);

    // Around each call into the plug-in on the host's thread.
    void BeginFrame(const std::string& call);
    void EndFrame();

    // Collected blocks still held, and those reclaimed without BKA_Free.
    size_t Outstanding() const;
    size_t NotFreed() const;

    // For the fault handler: whether address lies in memory the host made
    // inaccessible, and what it was. Reports each block once.
    bool DescribeFault(const void* address, std::string* what);

private:
    enum class SState { Live, Freed, Reclaimed, Expired };
    struct SBlock {
        size_t pages = 0;       // committed pages; one guard page follows
        size_t size = 0;
        bool answer = false;
        SState state = SState::Live;
        const char* function = "";
        std::string call;       // the call in progress when it was handed out
        int line = 0;
        uint64_t sequence = 0;
        bool reported = false;
    };
    struct SFrame {
        std::string call;
        uint64_t begin = 0;
        std::vector<uintptr_t> blocks;
    };

    uintptr_t Place(size_t size, bool answer);
    void Retire(uintptr_t start, SBlock* block, SState state);
    void DropFromOwner(uintptr_t start);
    // The block whose pages (guard page included) hold address.
    std::map<uintptr_t, SBlock>::iterator Holding(uintptr_t address);

    mutable std::mutex lock_;
    uintptr_t base_ = 0;
    size_t pageSize_ = 0;
    size_t pageCount_ = 0;
    size_t cursor_ = 0;          // the next page to hand out
    uint64_t sequence_ = 0;
    std::map<uintptr_t, SBlock> blocks_;   // by start address, retired ones too
    std::vector<SFrame> frames_;
    std::vector<uintptr_t> orphans_;       // handed out outside any frame
    std::vector<uintptr_t> answers_;       // live answers
    std::deque<uintptr_t> retired_;        // oldest first, to forget in turn
    size_t live_ = 0;
    size_t notFreed_ = 0;
};

SHostHeap& HostHeap();
