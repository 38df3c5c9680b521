#include "host/guarded_call.h"

#include <windows.h>

// MinGW has no __try. The guard is a handler registered for its own frame,
// as __try/__except would register one: it sees only what no frame inside
// the call handled (the host's own first-chance exceptions stay the
// host's), unwinds the frames inside, then resumes in the guard.

#if defined(__i386__)

namespace {

// An exception registration record on the stack, as the system chains
// them from fs:[0], followed by where to resume.
struct GuardRecord {
    GuardRecord* previous;
    EXCEPTION_DISPOSITION(__cdecl* handler)(EXCEPTION_RECORD*, void*, CONTEXT*, void*);
    void* resume[5];   // __builtin_setjmp's buffer
};

GuardRecord* ChainHead() {
    GuardRecord* head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(GuardRecord* head) {
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory");
}

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
        return ExceptionContinueSearch;
    }
    // Runs the clean-up of every frame inside the call; afterwards this
    // record heads the chain again.
    RtlUnwind(frame, nullptr, record, nullptr);
    __builtin_longjmp(static_cast<GuardRecord*>(frame)->resume, 1);
}

}  // namespace

bool CallGuarded(void (*call)(void*), void* context) {
    GuardRecord guard{};
    guard.handler = GuardHandler;
    if (__builtin_setjmp(guard.resume)) {
        SetChainHead(guard.previous);
        return false;
    }
    guard.previous = ChainHead();
    SetChainHead(&guard);
    call(context);
    SetChainHead(guard.previous);
    return true;
}

#elif defined(__x86_64__)

// x86-64 registers handlers in the unwind tables. halyard_guarded_call
// (call, context) calls call(context) inside a scope of the system's C
// handler whose filter is "always handle": the system unwinds to the
// scope's target, which returns 0; a normal return gives 1.
extern "C" int halyard_guarded_call(void (*call)(void*), void* context);

__asm__(
    "\t.text\n"
    "\t.globl halyard_guarded_call\n"
    "\t.def halyard_guarded_call; .scl 2; .type 32; .endef\n"
    "\t.seh_proc halyard_guarded_call\n"
    "halyard_guarded_call:\n"
    "\tsubq $40, %rsp\n"
    "\t.seh_stackalloc 40\n"
    "\t.seh_endprologue\n"
    "\t.seh_handler __C_specific_handler, @except\n"
    "\t.seh_handlerdata\n"
    "\t.long 1\n"
    "\t.rva .Lguard_begin, .Lguard_end\n"
    "\t.long 1\n"   // the filter: EXCEPTION_EXECUTE_HANDLER
    "\t.rva .Lguard_raised\n"
    "\t.text\n"
    "\tmovq %rcx, %rax\n"
    "\tmovq %rdx, %rcx\n"
    ".Lguard_begin:\n"
    "\tcall *%rax\n"
    "\tnop\n"
    ".Lguard_end:\n"
    "\tmovl $1, %eax\n"
    "\taddq $40, %rsp\n"
    "\tret\n"
    ".Lguard_raised:\n"
    "\txorl %eax, %eax\n"
    "\taddq $40, %rsp\n"
    "\tret\n"
    "\t.seh_endproc\n");

bool CallGuarded(void (*call)(void*), void* context) { return halyard_guarded_call(call, context) != 0; }

#else
#error "no guard for structured exceptions on this processor"
#endif
