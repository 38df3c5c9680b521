#include "fault_watch.h"

#include <windows.h>

#include <csignal>
#include <cstdio>

#include "call_frames.h"
#include "host_memory.h"
#include "transcript.h"
#include "watchdog.h"

namespace {

// ExceptionInformation[0] of an access violation: 1 for a write.
constexpr ULONG_PTR kWriteAccess = 1;

LONG CALLBACK OnFirstChance(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    std::string what;
    const void* address = reinterpret_cast<const void*>(record->ExceptionInformation[1]);
    if (HostHeap().DescribeFault(address, &what) && !what.empty()) {
        bool write = record->ExceptionInformation[0] == kWriteAccess;
        Complain("the plug-in" + WhereInPlugin() + (write ? " wrote to " : " read ") + what);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception) {
    char what[96];
    std::snprintf(what, sizeof what, " (exception 0x%08lX at %p)",
                  exception->ExceptionRecord->ExceptionCode,
                  exception->ExceptionRecord->ExceptionAddress);
    AbortRun("the plug-in crashed" + WhereInPlugin() + what);
}

// The C++ runtime of the plug-in ends the process through abort() when an
// exception leaves a function that cannot pass it on (an export, a window
// or thread procedure); the handler of the shared C runtime sees it first.
void OnAbort(int) {
    AbortRun("the plug-in ended the process" + WhereInPlugin() +
             " (a C++ exception left it, or it called abort)");
}

}  // namespace

std::string WhereInPlugin() {
    if (!OnHostThread()) return " in a thread of the plug-in";
    std::string call = CallInProgress();
    if (call.empty()) return " outside any call (in a window procedure of the plug-in)";
    return " in " + call;
}

bool WatchFaults() {
    SetUnhandledExceptionFilter(OnCrash);
    std::signal(SIGABRT, OnAbort);
    return AddVectoredExceptionHandler(1, OnFirstChance) != nullptr;
}
