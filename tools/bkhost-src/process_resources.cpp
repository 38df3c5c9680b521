#include "process_resources.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/win32_handles.h"

namespace {

template <typename Function>
Function NtdllFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

using SQuerySystemInformation = LONG(NTAPI*)(ULONG infoClass, void* buffer, ULONG size,
                                             ULONG* needed);

constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr ULONG kFirstHandleBuffer = 64 * 1024;
constexpr ULONG kLargestHandleBuffer = 256 * 1024 * 1024;

// One row of the system's handle list (SystemExtendedHandleInformation).
struct SHandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

struct SHandleListHead {
    ULONG_PTR count;
    ULONG_PTR reserved;
};

// Kernel handles of this process from the system's list of every open
// handle; Wine answers this from the server's own tables.
long long CountKernelHandles() {
    auto query = NtdllFunction<SQuerySystemInformation>("NtQuerySystemInformation");
    if (!query) return -1;
    std::vector<unsigned char> buffer(kFirstHandleBuffer);
    LONG status = 0;
    for (;;) {
        ULONG needed = 0;
        status = query(kSystemExtendedHandleInformation, buffer.data(),
                       static_cast<ULONG>(buffer.size()), &needed);
        if (status != kStatusInfoLengthMismatch || buffer.size() >= kLargestHandleBuffer) break;
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0 || buffer.size() < sizeof(SHandleListHead)) return -1;
    SHandleListHead head;
    std::memcpy(&head, buffer.data(), sizeof head);
    const size_t room = (buffer.size() - sizeof head) / sizeof(SHandleEntry);
    if (head.count > room) return -1;
    const auto* entries = reinterpret_cast<const SHandleEntry*>(buffer.data() + sizeof head);
    const ULONG_PTR self = GetCurrentProcessId();
    long long mine = 0;
    for (size_t i = 0; i < head.count; ++i)
        if (entries[i].processId == self) ++mine;
    return mine;
}

// The GDI handle table the process environment block points at, laid out
// as Wine lays it out (the 64-bit Windows layout in both widths).
struct SGdiHandleEntry {
    uint64_t object;
    uint16_t ownerProcessId;
    uint16_t ownerLock;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(SGdiHandleEntry) == 24, "GDI handle table rows are 24 bytes");
constexpr size_t kGdiHandleCount = 0x10000;
#ifdef _WIN64
constexpr size_t kPebGdiTableOffset = 0xF8;
#else
constexpr size_t kPebGdiTableOffset = 0x94;
#endif

using SQueryInformationProcess = LONG(NTAPI*)(HANDLE process, ULONG infoClass, void* buffer,
                                              ULONG size, ULONG* needed);
constexpr ULONG kProcessBasicInformation = 0;

struct SProcessBasicInformation {
    LONG exitStatus;
    const unsigned char* peb;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentProcessId;
};

// Live rows of the table. Wine keeps one table per process and leaves the
// owner 0; rows another process claims are left out.
long long CountGdiObjects() {
    auto query = NtdllFunction<SQueryInformationProcess>("NtQueryInformationProcess");
    SProcessBasicInformation basic = {};
    if (!query || query(GetCurrentProcess(), kProcessBasicInformation, &basic, sizeof basic,
                        nullptr) != 0 || !basic.peb)
        return -1;
    const SGdiHandleEntry* table = nullptr;
    std::memcpy(&table, basic.peb + kPebGdiTableOffset, sizeof table);
    if (!table) return -1;
    const uint16_t self = static_cast<uint16_t>(GetCurrentProcessId());
    long long live = 0;
    for (size_t i = 0; i < kGdiHandleCount; ++i) {
        const SGdiHandleEntry& entry = table[i];
        if (entry.type != 0 && (entry.ownerProcessId == 0 || entry.ownerProcessId == self)) ++live;
    }
    return live;
}

BOOL CALLBACK CountOne(HWND, LPARAM counter) {
    ++*reinterpret_cast<long long*>(counter);
    return TRUE;
}

// The window and its descendants (EnumChildWindows walks them all), when
// it belongs to this process.
void CountWindowTree(HWND window, long long* count) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId()) return;
    ++*count;
    EnumChildWindows(window, CountOne, reinterpret_cast<LPARAM>(count));
}

BOOL CALLBACK CountWindow(HWND window, LPARAM counter) {
    CountWindowTree(window, reinterpret_cast<long long*>(counter));
    return TRUE;
}

// Top-level windows, message-only windows and all their descendants.
long long CountWindows() {
    long long count = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
        CountWindowTree(window, &count);
    return count;
}

long long CountThreads() {
    win32::ScopedFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    const DWORD self = GetCurrentProcessId();
    long long count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
         more = Thread32Next(snapshot.Get(), &entry))
        if (entry.th32OwnerProcessID == self) ++count;
    return count;
}

// Committed private memory: heaps, stacks and VirtualAlloc blocks, not the
// mapped images and files.
long long CountPrivateKib() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    auto address = reinterpret_cast<uintptr_t>(system.lpMinimumApplicationAddress);
    const auto end = reinterpret_cast<uintptr_t>(system.lpMaximumApplicationAddress);
    unsigned long long bytes = 0;
    MEMORY_BASIC_INFORMATION region;
    while (address < end &&
           VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
        const uintptr_t next = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return static_cast<long long>(bytes / 1024);
}

}  // namespace

std::string_view ResourceName(SResourceKind kind) {
    switch (kind) {
    case SResourceKind::Handles: return "handles";
    case SResourceKind::Gdi: return "gdi";
    case SResourceKind::Windows: return "windows";
    case SResourceKind::Threads: return "threads";
    case SResourceKind::PrivateKib: return "private-kib";
    }
    return "";
}

SResourceCounts CountResources() {
    SResourceCounts counts;
    // Memory first, before the counting below allocates its buffers; threads
    // before handles, so that the snapshot's own handle is closed by then.
    counts[SResourceKind::PrivateKib] = CountPrivateKib();
    counts[SResourceKind::Threads] = CountThreads();
    counts[SResourceKind::Handles] = CountKernelHandles();
    counts[SResourceKind::Gdi] = CountGdiObjects();
    counts[SResourceKind::Windows] = CountWindows();
    return counts;
}

std::string ResourcesLine(const SResourceCounts& counts) {
    std::string line = "resources:";
    for (size_t i = 0; i < kResourceKinds; ++i) {
        line += i ? ", " : " ";
        line += ResourceName(static_cast<SResourceKind>(i));
        line += " " + std::to_string(counts.values[i]);
    }
    return line;
}
