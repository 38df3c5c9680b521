#include "watchdog.h"

#include <windows.h>

#include <mutex>

#include "common/win32_handles.h"
#include "host_registry.h"
#include "transcript.h"

namespace {

std::mutex g_lock;
DWORD g_deadline = 0;
bool g_armed = false;
std::string g_what;

DWORD WINAPI WatchdogThread(LPVOID) {
    for (;;) {
        Sleep(250);
        std::string what;
        {
            std::lock_guard<std::mutex> lock(g_lock);
            if (!g_armed || static_cast<LONG>(GetTickCount() - g_deadline) < 0) continue;
            what = g_what;
        }
        AbortRun(what + " did not end in time");
    }
}

}  // namespace

bool StartWatchdog() {
    // The thread runs on its own; its handle is not needed.
    const win32::ScopedHandle thread(CreateThread(nullptr, 0, WatchdogThread, nullptr, 0, nullptr));
    return thread.IsValid();
}

void ArmWatchdog(unsigned ms, const std::string& what) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_deadline = GetTickCount() + ms;
    g_what = what;
    g_armed = true;
}

void DisarmWatchdog() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_armed = false;
}

void AbortRun(const std::string& why) {
    static LONG aborting = 0;
    if (InterlockedExchange(&aborting, 1)) {
        Sleep(INFINITE);
    }
    Complain(why);
    PrintLine("failed");
    RestoreShellFolders();
    TerminateProcess(GetCurrentProcess(), 1);
    for (;;) Sleep(INFINITE);
}
