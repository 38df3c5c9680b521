#include "bench/bench_clock_win32.h"

#include <algorithm>
#include <memory>

#include "common/win32_handles.h"
#include "host_windows.h"

namespace {

constexpr DWORD kMaxHeaps = 256;
constexpr DWORD kIdleWindowMs = 200;
constexpr uint64_t kIdleCpu100ns = 200000;   // 20 ms of CPU in the window: idle

// The process's CPU time so far, kernel and user, in 100 ns units.
uint64_t ProcessCpuTime() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto ticks = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return ticks(kernel) + ticks(user);
}

void Walk(const std::string& directory, uint64_t* entries) {
    WIN32_FIND_DATAA found;
    const win32::ScopedFind find(FindFirstFileA((directory + "\\*.*").c_str(), &found));
    if (!find) return;
    do {
        const char* name = found.cFileName;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        ++*entries;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(directory + "\\" + name, entries);
    } while (FindNextFileA(find.Get(), &found));
}

}  // namespace

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void WaitUntilIdle(DWORD maxMs) {
    SStopwatch watch;
    uint64_t before = ProcessCpuTime();
    while (watch.Milliseconds() < maxMs) {
        PumpMessages(kIdleWindowMs);
        const uint64_t now = ProcessCpuTime();
        if (now - before < kIdleCpu100ns) break;
        before = now;
    }
}

uint64_t HeapBytesInUse() {
    HANDLE heaps[kMaxHeaps];
    const DWORD count = std::min(GetProcessHeaps(kMaxHeaps, heaps), kMaxHeaps);
    uint64_t total = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

double TimeDirectoryWalk(const std::vector<std::string>& roots, uint64_t* entries) {
    *entries = 0;
    SStopwatch watch;
    for (const std::string& root : roots) Walk(root, entries);
    return watch.Milliseconds();
}

double TimeReadFiles(const std::vector<std::string>& paths, uint64_t* bytes) {
    *bytes = 0;
    SStopwatch watch;
    for (const std::string& path : paths) {
        const win32::ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) continue;
        const DWORD size = GetFileSize(file.Get(), nullptr);
        std::unique_ptr<char[]> buffer(new char[size + 1]);
        DWORD got = 0;
        if (ReadFile(file.Get(), buffer.get(), size, &got, nullptr)) *bytes += got;
    }
    return watch.Milliseconds();
}
