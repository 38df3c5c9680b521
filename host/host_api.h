// The host's functions, bound by name from the host executable when the
// library is loaded. The entry points own the one bound table and hand it
// to the work that talks to the host. The types match the host's published interface; window,
// menu and module handles are carried as opaque pointers so that the
// portable core needs no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define HALYARD_WINAPI __stdcall
#else
#define HALYARD_WINAPI
#endif

using HostWindow = void*;   // HWND
using HostMenu = void*;     // HMENU
using HostBool = int;       // BOOL
using HostDword = unsigned long;

using HostCommandProc = void(HALYARD_WINAPI*)(HostWindow window, intptr_t parameter);
using HostUiProc = unsigned(HALYARD_WINAPI*)(HostWindow window, intptr_t parameter);

struct HostApi {
    // Binds every function (Windows only). Fails when a required name is
    // missing or when a newer host lacks BKA_SetStatus.
    bool Init();
    void Clear();
    bool Bound() const { return module != nullptr; }

    void* module = nullptr;   // HMODULE of the host executable

    // Required, in binding order.
    const char*(HALYARD_WINAPI* GetVersion)() = nullptr;
    void(HALYARD_WINAPI* Command)(HostWindow, const char*) = nullptr;
    HostBool(HALYARD_WINAPI* GetWindowHandles)(HostWindow*, HostWindow*, HostWindow*, HostWindow*) = nullptr;
    unsigned(HALYARD_WINAPI* RegisterCommand)(const char*, int, HostCommandProc) = nullptr;
    unsigned(HALYARD_WINAPI* RegisterUICallback)(unsigned, HostUiProc) = nullptr;
    const char*(HALYARD_WINAPI* GetDataFolder)() = nullptr;
    const char*(HALYARD_WINAPI* GetTempFolder)() = nullptr;
    const char*(HALYARD_WINAPI* GetTempFileName)(const char*) = nullptr;
    const char*(HALYARD_WINAPI* GetCurrentMailBox)() = nullptr;
    void(HALYARD_WINAPI* SetCurrentMailBox)(const char*) = nullptr;
    const char*(HALYARD_WINAPI* GetCurrentFolder)() = nullptr;
    void(HALYARD_WINAPI* SetCurrentFolder)(const char*) = nullptr;
    const char*(HALYARD_WINAPI* GetFolderDisplayName)(const char*) = nullptr;
    void(HALYARD_WINAPI* SetMessageText)(HostWindow, const char*) = nullptr;
    const char*(HALYARD_WINAPI* GetCurrentMail)() = nullptr;
    void(HALYARD_WINAPI* SetCurrentMail)(const char*) = nullptr;
    int(HALYARD_WINAPI* GetNextMail)(int, char*, int, HostBool) = nullptr;
    void(HALYARD_WINAPI* SetSel)(const char*, HostBool) = nullptr;
    HostBool(HALYARD_WINAPI* AppendMessage)(const char*, const char*) = nullptr;
    HostBool(HALYARD_WINAPI* MoveSelectedMessages)(const char*, HostBool) = nullptr;
    HostDword(HALYARD_WINAPI* GetStatus)(const char*) = nullptr;
    HostWindow(HALYARD_WINAPI* ComposeMail)(const char*) = nullptr;
    int(HALYARD_WINAPI* GetCharSet)(const char*, char*, int) = nullptr;
    char*(HALYARD_WINAPI* GetSource)(const char*) = nullptr;
    void(HALYARD_WINAPI* SetSource)(const char*, const char*) = nullptr;
    char*(HALYARD_WINAPI* GetHeader)(const char*) = nullptr;
    char*(HALYARD_WINAPI* GetText)(char*, int) = nullptr;
    void(HALYARD_WINAPI* SetText)(int, const char*) = nullptr;
    void(HALYARD_WINAPI* GetSpecifiedHeader)(const char*, char*, int) = nullptr;
    void(HALYARD_WINAPI* SetSpecifiedHeader)(const char*, const char*) = nullptr;
    int(HALYARD_WINAPI* CompGetCharSet)(HostWindow, char*, int) = nullptr;
    char*(HALYARD_WINAPI* CompGetSource)(HostWindow) = nullptr;
    void(HALYARD_WINAPI* CompSetSource)(HostWindow, const char*) = nullptr;
    char*(HALYARD_WINAPI* CompGetHeader)(HostWindow) = nullptr;
    void(HALYARD_WINAPI* CompGetSpecifiedHeader)(HostWindow, const char*, char*, int) = nullptr;
    void(HALYARD_WINAPI* CompSetSpecifiedHeader)(HostWindow, const char*, const char*) = nullptr;
    char*(HALYARD_WINAPI* CompGetText)(HostWindow, char*, int) = nullptr;
    void(HALYARD_WINAPI* CompSetText)(HostWindow, int, const char*) = nullptr;
    void(HALYARD_WINAPI* CompAttachFile)(HostWindow, const char*, const char*) = nullptr;
    void*(HALYARD_WINAPI* Alloc)(HostDword) = nullptr;
    void*(HALYARD_WINAPI* ReAlloc)(void*, HostDword) = nullptr;
    void(HALYARD_WINAPI* Free)(void*) = nullptr;
    char*(HALYARD_WINAPI* ISO_2022_JP)(const char*, HostBool) = nullptr;
    char*(HALYARD_WINAPI* ISO_2022_KR)(const char*, HostBool) = nullptr;
    char*(HALYARD_WINAPI* HZ_GB2312)(const char*, HostBool) = nullptr;
    char*(HALYARD_WINAPI* ISO_8859_2)(const char*, HostBool) = nullptr;
    char*(HALYARD_WINAPI* EUC_JP)(const char*, HostBool) = nullptr;
    char*(HALYARD_WINAPI* UTF_7)(const char*, HostBool) = nullptr;
    char*(HALYARD_WINAPI* UTF_8)(const char*, HostBool) = nullptr;
    HostBool(HALYARD_WINAPI* B64Convert)(const char*, const char*, HostBool) = nullptr;
    HostBool(HALYARD_WINAPI* QPConvert)(const char*, const char*, HostBool) = nullptr;
    char*(HALYARD_WINAPI* MIMEHeader)(const char*, char*, int, HostBool) = nullptr;
    char*(HALYARD_WINAPI* SerializeRcpts)(const char*) = nullptr;
    HostBool(HALYARD_WINAPI* Connect)(HostBool) = nullptr;

    // Optional (newer hosts); bound, never called.
    HostDword(HALYARD_WINAPI* SetStatus)(const char*, HostDword, HostDword) = nullptr;
    HostBool(HALYARD_WINAPI* NextUnread)(HostBool, HostBool) = nullptr;
    int(HALYARD_WINAPI* ProcessMail)(const char*) = nullptr;
    HostDword(HALYARD_WINAPI* GetSize)(const char*) = nullptr;
    HostBool(HALYARD_WINAPI* MoveMessages)(const char*, const char*, HostBool) = nullptr;
};

// True for a host version text that may lack the optional functions: at
// most 7 characters and sorting before "2.00.06" (Windows only).
bool IsOlderHostVersion(const char* version);

// The host's plug-in information record, filled by BKC_OnPlugInInfo.
constexpr size_t kInfoNameSize = 80;
constexpr size_t kInfoVendorSize = 80;
constexpr size_t kInfoVersionSize = 80;
constexpr size_t kInfoDescriptionSize = 256;

struct HostPlugInInfo {
    char name[kInfoNameSize];
    char vendor[kInfoVendorSize];
    char version[kInfoVersionSize];
    char description[kInfoDescriptionSize];
};
static_assert(sizeof(HostPlugInInfo) == 496, "the host's layout");

// Owner of a text the host allocated: released with the BKA_Free of the
// table that handed it out.
class HostText {
public:
    HostText() = default;
    HostText(const HostApi& host, char* text) : free_(host.Free), text_(text) {}
    ~HostText() { Reset(); }
    HostText(const HostText&) = delete;
    HostText& operator=(const HostText&) = delete;
    HostText(HostText&& other) noexcept : free_(other.free_), text_(other.text_) {
        other.text_ = nullptr;
    }

    char* Get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }
    void Reset() {
        if (text_ && free_) free_(text_);
        text_ = nullptr;
    }

private:
    void(HALYARD_WINAPI* free_)(void*) = nullptr;
    char* text_ = nullptr;
};
