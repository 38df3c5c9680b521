// One owner per kind of Win32 handle: closes what it holds when it goes
// out of scope, moves but never copies. Windows glue only. References to
// loaded libraries have theirs in the platform seam (platform::ModuleReference).
#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

// Close() releases a valid handle; Invalid() is the "nothing held" value.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    bool IsValid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // Gives up ownership without closing.
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct FileTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};

// Events and threads: null means none.
struct KernelTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { CloseHandle(h); }
};

// Change notifications fail with INVALID_HANDLE_VALUE.
struct ChangeNotificationTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindCloseChangeNotification(h); }
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};

struct GlobalMemTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { GlobalFree(h); }
};

// Blocks the system allocates for the caller (FormatMessage's buffer).
struct LocalMemTraits {
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { LocalFree(h); }
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyIcon(h); }
};

using ScopedFile = UniqueHandle<FileTraits>;
using ScopedFind = UniqueHandle<FindTraits>;
using ScopedHandle = UniqueHandle<KernelTraits>;   // events, threads
using ScopedChangeNotification = UniqueHandle<ChangeNotificationTraits>;
using ScopedRegKey = UniqueHandle<RegKeyTraits>;
using ScopedLocalMem = UniqueHandle<LocalMemTraits>;
using ScopedGdiObject = UniqueHandle<GdiObjectTraits>;
using ScopedIcon = UniqueHandle<IconTraits>;

// Fixed global memory: the handle is the address of the block.
class ScopedGlobalMem : public UniqueHandle<GlobalMemTraits> {
public:
    ScopedGlobalMem() = default;
    // A fixed block of size bytes; invalid when the allocation failed.
    static ScopedGlobalMem AllocFixed(SIZE_T size) {
        return ScopedGlobalMem(GlobalAlloc(GMEM_FIXED, size));
    }
    char* Bytes() const { return static_cast<char*>(Get()); }

private:
    explicit ScopedGlobalMem(HGLOBAL block) : UniqueHandle<GlobalMemTraits>(block) {}
};

}  // namespace win32
