#include "test_leaks.h"

#include <windows.h>

#include "common/win32_handles.h"

namespace {

struct SLeakKind {
    std::string_view name;
    SResourceKind kind;
    long long limit;
};

constexpr SLeakKind kLeakKinds[] = {
    {"handle", SResourceKind::Handles, 10000},
    {"gdi", SResourceKind::Gdi, 5000},
    {"window", SResourceKind::Windows, 1000},
    {"thread", SResourceKind::Threads, 100},
    {"kib", SResourceKind::PrivateKib, 1024 * 1024},
};

constexpr COLORREF kLeakBrushColour = RGB(0xA5, 0x5A, 0xA5);

DWORD WINAPI WaitForever(LPVOID) {
    Sleep(INFINITE);
    return 0;
}

// Each leaked object is let go of on purpose: nothing may ever free it.
bool LeakOne(SResourceKind kind) {
    switch (kind) {
    case SResourceKind::Handles:
        return CreateEventW(nullptr, TRUE, FALSE, nullptr) != nullptr;
    case SResourceKind::Gdi:
        return CreateSolidBrush(kLeakBrushColour) != nullptr;
    case SResourceKind::Windows:
        return CreateWindowExW(0, L"STATIC", L"leak-for-test", WS_POPUP, 0, 0, 1, 1, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr) != nullptr;
    case SResourceKind::Threads: {
        // The thread stays; its handle goes, so that only the thread counts.
        win32::ScopedHandle thread(CreateThread(nullptr, 0, WaitForever, nullptr, 0, nullptr));
        return thread.IsValid();
    }
    case SResourceKind::PrivateKib:
        break;
    }
    return false;
}

}  // namespace

bool ParseLeakKind(std::string_view name, SResourceKind* kind) {
    for (const SLeakKind& leak : kLeakKinds) {
        if (leak.name != name) continue;
        *kind = leak.kind;
        return true;
    }
    return false;
}

long long LeakLimit(SResourceKind kind) {
    for (const SLeakKind& leak : kLeakKinds)
        if (leak.kind == kind) return leak.limit;
    return 0;
}

bool LeakForTest(SResourceKind kind, long long count) {
    if (kind == SResourceKind::PrivateKib)
        return VirtualAlloc(nullptr, static_cast<SIZE_T>(count) * 1024, MEM_RESERVE | MEM_COMMIT,
                            PAGE_READWRITE) != nullptr;
    for (long long i = 0; i < count; ++i)
        if (!LeakOne(kind)) return false;
    return true;
}
