// The host's allocator. Blocks it does not know are refused with a
// complaint instead of being freed.
#include "host_exports.h"
#include "host_memory.h"
#include "transcript.h"

extern "C" {

LPVOID WINAPI BKA_Alloc(DWORD size) { return HostHeap().Alloc(size); }

LPVOID WINAPI BKA_ReAlloc(LPVOID block, DWORD size) {
    bool known = true;
    void* moved = HostHeap().ReAlloc(block, size, &known);
    if (!known) Complain("BKA_ReAlloc got a block the host never handed out");
    return moved;
}

void WINAPI BKA_Free(LPVOID block) {
    if (!block) return;
    if (!HostHeap().Free(block))
        Complain("BKA_Free got a block the host never handed out or that was freed already");
}

}  // extern "C"
