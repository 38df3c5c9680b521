// The host's allocator. A block it cannot free (never handed out, freed
// before, reclaimed, or an answer) is refused with a complaint.
#include <string>

#include "host_call.h"
#include "host_exports.h"
#include "host_memory.h"
#include "transcript.h"

namespace {

void ComplainUnfreeable(const char* function, SFreeResult result) {
    std::string why;
    switch (result) {
    case SFreeResult::Freed: return;
    case SFreeResult::Unknown: why = "a pointer the host never handed out"; break;
    case SFreeResult::FreedBefore: why = "a block that was freed already"; break;
    case SFreeResult::Reclaimed:
        why = "a block the host reclaimed when the call that received it returned";
        break;
    case SFreeResult::Answer:
        why = "a folder, temp or mail answer, which the host owns and never hands over";
        break;
    }
    Complain(std::string(function) + " got " + why);
}

}  // namespace

extern "C" {

LPVOID WINAPI BKA_Alloc(DWORD size) {
    SHostCall call("BKA_Alloc");
    return HostHeap().Alloc(size);
}

LPVOID WINAPI BKA_ReAlloc(LPVOID block, DWORD size) {
    SHostCall call("BKA_ReAlloc");
    SFreeResult result = SFreeResult::Freed;
    void* moved = HostHeap().ReAlloc(block, size, &result);
    ComplainUnfreeable("BKA_ReAlloc", result);
    return moved;
}

void WINAPI BKA_Free(LPVOID block) {
    SHostCall call("BKA_Free");
    if (!block) return;
    ComplainUnfreeable("BKA_Free", HostHeap().Free(block));
}

}  // extern "C"
