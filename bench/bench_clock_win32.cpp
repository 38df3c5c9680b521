#include "bench/bench_clock_win32.h"

#include <psapi.h>

#include <algorithm>
#include <memory>

#include "common/win32_handles.h"

namespace {

PROCESS_MEMORY_COUNTERS MemoryCounters() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
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

uint64_t WorkingSetBytes() { return MemoryCounters().WorkingSetSize; }
uint64_t PeakWorkingSetBytes() { return MemoryCounters().PeakWorkingSetSize; }

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
        const win32::ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) continue;
        const DWORD size = GetFileSize(file.Get(), nullptr);
        std::unique_ptr<char[]> buffer(new char[size + 1]);
        DWORD got = 0;
        if (ReadFile(file.Get(), buffer.get(), size, &got, nullptr)) *bytes += got;
    }
    return watch.Milliseconds();
}
