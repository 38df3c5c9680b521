#include "host_memory.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "call_frames.h"
#include "host_call.h"
#include "transcript.h"

namespace {

// Address space for host memory. Pages are handed out in turn and reused
// only after the whole range has gone round, so a stale pointer faults for
// a long time before it could meet a new block.
constexpr size_t kArenaBytes = 128u * 1024 * 1024;
// Retired blocks remembered for the reports of late frees and faults; the
// oldest are forgotten, so the host's own memory stays steady in long runs
// (their pages stay inaccessible all the same).
constexpr size_t kRememberedRetired = 4096;

}  // namespace

SHostHeap::SHostHeap() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    pageSize_ = system.dwPageSize;
    void* base = VirtualAlloc(nullptr, kArenaBytes, MEM_RESERVE, PAGE_NOACCESS);
    base_ = reinterpret_cast<uintptr_t>(base);
    pageCount_ = base ? kArenaBytes / pageSize_ : 0;
}

SHostHeap::~SHostHeap() {
    if (base_) VirtualFree(reinterpret_cast<void*>(base_), 0, MEM_RELEASE);
}

std::map<uintptr_t, SHostHeap::SBlock>::iterator SHostHeap::Holding(uintptr_t address) {
    auto after = blocks_.upper_bound(address);
    if (after == blocks_.begin()) return blocks_.end();
    auto found = std::prev(after);
    if (address < found->first + (found->second.pages + 1) * pageSize_) return found;
    return blocks_.end();
}

uintptr_t SHostHeap::Place(size_t size, bool answer) {
    size_t pages = (std::max<size_t>(size, 1) + pageSize_ - 1) / pageSize_;
    size_t span = pages + 1;   // the guard page stays uncommitted
    if (span > pageCount_) return 0;
    // Look for span free pages from the cursor on, going round once.
    for (size_t tried = 0; tried <= pageCount_;) {
        if (cursor_ + span > pageCount_) {
            tried += pageCount_ - cursor_;
            cursor_ = 0;
        }
        uintptr_t start = base_ + cursor_ * pageSize_;
        uintptr_t end = start + span * pageSize_;
        // Retired blocks in the way are forgotten; a live one is skipped.
        auto it = Holding(start);
        if (it == blocks_.end()) it = blocks_.lower_bound(start);
        bool blocked = false;
        while (it != blocks_.end() && it->first < end) {
            if (it->second.state == SState::Live) {
                size_t skip = (it->first - base_) / pageSize_ + it->second.pages + 1;
                tried += skip - cursor_;
                cursor_ = skip;
                blocked = true;
                break;
            }
            it = blocks_.erase(it);
        }
        if (blocked) continue;
        if (!VirtualAlloc(reinterpret_cast<void*>(start), pages * pageSize_, MEM_COMMIT, PAGE_READWRITE))
            return 0;
        cursor_ += span;
        SBlock block;
        block.pages = pages;
        block.size = size;
        block.answer = answer;
        block.function = HostFunctionInProgress();
        block.call = CallInProgress();
        block.line = CurrentLine();
        block.sequence = ++sequence_;
        blocks_.emplace(start, block);
        return start;
    }
    return 0;
}

void SHostHeap::Retire(uintptr_t start, SBlock* block, SState state) {
    VirtualFree(reinterpret_cast<void*>(start), block->pages * pageSize_, MEM_DECOMMIT);
    if (!block->answer) --live_;
    block->state = state;
    retired_.push_back(start);
    if (retired_.size() <= kRememberedRetired) return;
    auto oldest = blocks_.find(retired_.front());
    retired_.pop_front();
    if (oldest != blocks_.end() && oldest->second.state != SState::Live) blocks_.erase(oldest);
}

void SHostHeap::DropFromOwner(uintptr_t start) {
    auto drop = [start](std::vector<uintptr_t>* list) {
        auto found = std::find(list->begin(), list->end(), start);
        if (found == list->end()) return false;
        list->erase(found);
        return true;
    };
    for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame)
        if (drop(&frame->blocks)) return;
    drop(&orphans_);
}

void* SHostHeap::Alloc(size_t size) {
    std::lock_guard<std::mutex> hold(lock_);
    uintptr_t start = Place(size, false);
    if (!start) return nullptr;
    ++live_;
    if (OnHostThread() && !frames_.empty()) frames_.back().blocks.push_back(start);
    else orphans_.push_back(start);
    return reinterpret_cast<void*>(start);
}

SFreeResult SHostHeap::Free(void* pointer) {
    std::lock_guard<std::mutex> hold(lock_);
    uintptr_t start = reinterpret_cast<uintptr_t>(pointer);
    auto found = blocks_.find(start);
    if (found == blocks_.end()) return SFreeResult::Unknown;
    SBlock& block = found->second;
    if (block.answer) return SFreeResult::Answer;
    if (block.state == SState::Freed) return SFreeResult::FreedBefore;
    if (block.state == SState::Reclaimed) return SFreeResult::Reclaimed;
    DropFromOwner(start);
    Retire(start, &block, SState::Freed);
    return SFreeResult::Freed;
}

void* SHostHeap::ReAlloc(void* pointer, size_t size, SFreeResult* result) {
    *result = SFreeResult::Freed;
    if (!pointer) return Alloc(size);
    size_t old = 0;
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto found = blocks_.find(reinterpret_cast<uintptr_t>(pointer));
        if (found == blocks_.end()) *result = SFreeResult::Unknown;
        else if (found->second.answer) *result = SFreeResult::Answer;
        else if (found->second.state == SState::Freed) *result = SFreeResult::FreedBefore;
        else if (found->second.state == SState::Reclaimed) *result = SFreeResult::Reclaimed;
        else old = found->second.size;
        if (*result != SFreeResult::Freed) return nullptr;
    }
    void* moved = Alloc(size);
    if (!moved) return nullptr;   // the old block stays valid
    std::memcpy(moved, pointer, std::min(old, size));
    Free(pointer);
    return moved;
}

char* SHostHeap::Text(std::string_view text) {
    char* copy = static_cast<char*>(Alloc(text.size() + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

const char* SHostHeap::Answer(std::string_view text) {
    std::lock_guard<std::mutex> hold(lock_);
    uintptr_t start = Place(text.size() + 1, true);
    if (!start) return nullptr;
    char* copy = reinterpret_cast<char*>(start);
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    answers_.push_back(start);
    return copy;
}

uint64_t SHostHeap::Sequence() const {
    std::lock_guard<std::mutex> hold(lock_);
    return sequence_;
}

void SHostHeap::ExpireAnswers(uint64_t before) {
    std::lock_guard<std::mutex> hold(lock_);
    auto keep = answers_.begin();
    for (uintptr_t start : answers_) {
        auto found = blocks_.find(start);
        if (found == blocks_.end()) continue;
        if (found->second.sequence > before) {
            *keep++ = start;
            continue;
        }
        Retire(start, &found->second, SState::Expired);
    }
    answers_.erase(keep, answers_.end());
}

void SHostHeap::BeginFrame(const std::string& call) {
    std::lock_guard<std::mutex> hold(lock_);
    frames_.push_back({call, sequence_, {}});
}

void SHostHeap::EndFrame() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (frames_.empty()) return;
        SFrame frame = std::move(frames_.back());
        frames_.pop_back();
        auto reclaim = [this](uintptr_t start) {
            auto found = blocks_.find(start);
            if (found == blocks_.end() || found->second.state != SState::Live) return;
            Retire(start, &found->second, SState::Reclaimed);
            ++notFreed_;
        };
        for (uintptr_t start : frame.blocks) reclaim(start);
        // Blocks handed out to the plug-in's own threads: reclaimed when a
        // call that began after them returns.
        auto keep = orphans_.begin();
        for (uintptr_t start : orphans_) {
            auto found = blocks_.find(start);
            if (found != blocks_.end() && found->second.sequence <= frame.begin) reclaim(start);
            else *keep++ = start;
        }
        orphans_.erase(keep, orphans_.end());
    }
    ExpireAnswers(~uint64_t{0});
}

size_t SHostHeap::Outstanding() const {
    std::lock_guard<std::mutex> hold(lock_);
    return live_;
}

size_t SHostHeap::NotFreed() const {
    std::lock_guard<std::mutex> hold(lock_);
    return notFreed_;
}

bool SHostHeap::DescribeFault(const void* address, std::string* what) {
    uintptr_t at = reinterpret_cast<uintptr_t>(address);
    if (!base_ || at < base_ || at >= base_ + pageCount_ * pageSize_) return false;
    std::unique_lock<std::mutex> hold(lock_, std::try_to_lock);
    if (!hold.owns_lock()) {
        *what = "memory of the host that is not the plug-in's";
        return true;
    }
    auto found = Holding(at);
    if (found == blocks_.end()) {
        *what = "memory the host made inaccessible";
        return true;
    }
    SBlock& block = found->second;
    if (block.reported) return true;
    block.reported = true;
    std::string given = std::string("of ") + block.function + " (handed out at line " + std::to_string(block.line) +
                        (block.call.empty() ? "" : " during " + block.call) + ")";
    if (at >= found->first + block.pages * pageSize_) {
        *what = "memory past the end of the " + std::string(block.answer ? "answer " : "block ") + given;
        return true;
    }
    switch (block.state) {
    case SState::Expired:
        *what = "the answer " + given + " after the next host call";
        break;
    case SState::Reclaimed:
        *what = "the block " + given + " after the host reclaimed it when that call returned";
        break;
    case SState::Freed:
        *what = "the block " + given + " after BKA_Free";
        break;
    case SState::Live:
        *what = "memory of the host";
        break;
    }
    return true;
}

SHostHeap& HostHeap() {
    static SHostHeap heap;
    return heap;
}
