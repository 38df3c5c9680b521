// Folders that go away and volumes that fill up, for the plug-in alone.
//
// The plug-in's import table is pointed at the hooks below once it is
// loaded. While nothing is away every hook hands the call on unchanged,
// noting which handles the plug-in opened on which paths and which change
// reads it has pending; from `away` on, a call that reaches a path at or
// below an away folder fails as it would on a share that has gone, and the
// change reads pending there end with ERROR_NETNAME_DELETED. The host's own
// calls go through its own imports and still reach the files.
#include "file_faults.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "codepage.h"
#include "file_ops.h"
#include "script.h"

namespace {

constexpr DWORD kAwayError = ERROR_BAD_NETPATH;
constexpr DWORD kAwayReadEnded = ERROR_NETNAME_DELETED;
constexpr wchar_t kFillerName[] = L"bkhost-filler";
// What a volume may hold beyond its size before the host takes it for the
// machine's own disk: the memory file system rounds up to whole pages.
constexpr ULONGLONG kVolumeSlack = 64 * 1024;
constexpr long long kMostVolumeKib = 1024 * 1024;

struct SPendingRead {
    HANDLE directory;
    std::wstring path;
    LPOVERLAPPED_COMPLETION_ROUTINE routine;
};

struct SVolume {
    std::wstring path;   // as Normal() makes it
    bool filled = false;
};

// What the hooks share; the plug-in's watcher thread calls them too.
struct SFaults {
    std::mutex lock;
    std::vector<std::wstring> away;
    std::map<HANDLE, std::wstring> handles;   // files and folders the plug-in opened
    std::map<HANDLE, std::wstring> finds;     // its open listings
    std::map<LPOVERLAPPED, SPendingRead> pending;
    std::set<LPOVERLAPPED> ended;             // reads that end with kAwayReadEnded
    std::vector<SVolume> volumes;             // the host thread's alone
    bool wanted = false;                      // the script sends a folder away
};

SFaults& Faults() {
    static SFaults faults;
    return faults;
}

// Full, backslashes only, no trailing backslash, lower case: paths compare
// without case and in full.
std::wstring Normal(const std::wstring& path) {
    // Every file call of the plug-in comes here: sized for the usual path,
    // grown when the system asks for more.
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.assign(n, L'\0');
        n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (n == 0 || n >= full.size()) full = path;
    else full.resize(n);
    std::replace(full.begin(), full.end(), L'/', L'\\');
    while (full.size() > 3 && full.back() == L'\\') full.pop_back();
    if (!full.empty()) CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    return full;
}

std::wstring NormalAnsi(const char* path) {
    if (!path) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return Normal(wide);
}

std::wstring NormalWide(const wchar_t* path) { return path ? Normal(path) : std::wstring(); }

bool Under(const std::wstring& path, const std::wstring& folder) {
    if (path.size() < folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
    return path.size() == folder.size() || path[folder.size()] == L'\\' || folder.back() == L'\\';
}

bool IsAwayLocked(const std::wstring& path) {
    if (path.empty()) return false;
    for (const std::wstring& folder : Faults().away)
        if (Under(path, folder)) return true;
    return false;
}

bool IsAway(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(Faults().lock);
    return IsAwayLocked(path);
}

bool AwayA(const char* path) { return path && IsAway(NormalAnsi(path)); }
bool AwayW(const wchar_t* path) { return path && IsAway(NormalWide(path)); }

bool HandleAway(const std::map<HANDLE, std::wstring>& table, HANDLE handle) {
    std::lock_guard<std::mutex> guard(Faults().lock);
    const auto found = table.find(handle);
    return found != table.end() && IsAwayLocked(found->second);
}

bool FileAway(HANDLE handle) { return HandleAway(Faults().handles, handle); }

template <typename T>
T Refuse(T answer, DWORD error = kAwayError) {
    SetLastError(error);
    return answer;
}

void Remember(std::map<HANDLE, std::wstring>& table, HANDLE handle, std::wstring path) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return;
    const DWORD error = GetLastError();   // callers read it (ERROR_ALREADY_EXISTS)
    {
        std::lock_guard<std::mutex> guard(Faults().lock);
        table[handle] = std::move(path);
    }
    SetLastError(error);
}

void Forget(std::map<HANDLE, std::wstring>& table, HANDLE handle) {
    std::lock_guard<std::mutex> guard(Faults().lock);
    table.erase(handle);
}

// --- the hooks ------------------------------------------------------------

HANDLE WINAPI HookCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile) {
    std::wstring normal = NormalAnsi(path);
    if (IsAway(normal)) return Refuse(INVALID_HANDLE_VALUE);
    HANDLE file = CreateFileA(path, access, share, security, disposition, flags, templateFile);
    Remember(Faults().handles, file, std::move(normal));
    return file;
}

HANDLE WINAPI HookCreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile) {
    std::wstring normal = NormalWide(path);
    if (IsAway(normal)) return Refuse(INVALID_HANDLE_VALUE);
    HANDLE file = CreateFileW(path, access, share, security, disposition, flags, templateFile);
    Remember(Faults().handles, file, std::move(normal));
    return file;
}

BOOL WINAPI HookCloseHandle(HANDLE handle) {
    Forget(Faults().handles, handle);
    return CloseHandle(handle);
}

BOOL WINAPI HookReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped) {
    if (FileAway(file)) {
        if (got) *got = 0;
        return Refuse(FALSE);
    }
    return ReadFile(file, buffer, size, got, overlapped);
}

BOOL WINAPI HookWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
                          LPOVERLAPPED overlapped) {
    if (FileAway(file)) {
        if (written) *written = 0;
        return Refuse(FALSE);
    }
    return WriteFile(file, buffer, size, written, overlapped);
}

DWORD WINAPI HookGetFileSize(HANDLE file, LPDWORD high) {
    if (FileAway(file)) return Refuse<DWORD>(INVALID_FILE_SIZE);
    return GetFileSize(file, high);
}

BOOL WINAPI HookGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    if (FileAway(file)) return Refuse(FALSE);
    return GetFileSizeEx(file, size);
}

BOOL WINAPI HookSetFilePointerEx(HANDLE file, LARGE_INTEGER to, PLARGE_INTEGER now, DWORD method) {
    if (FileAway(file)) return Refuse(FALSE);
    return SetFilePointerEx(file, to, now, method);
}

BOOL WINAPI HookSetEndOfFile(HANDLE file) {
    if (FileAway(file)) return Refuse(FALSE);
    return SetEndOfFile(file);
}

BOOL WINAPI HookFlushFileBuffers(HANDLE file) {
    if (FileAway(file)) return Refuse(FALSE);
    return FlushFileBuffers(file);
}

HANDLE WINAPI HookFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
    std::wstring normal = NormalAnsi(pattern);
    if (IsAway(normal)) return Refuse(INVALID_HANDLE_VALUE);
    HANDLE find = FindFirstFileA(pattern, found);
    Remember(Faults().finds, find, std::move(normal));
    return find;
}

HANDLE WINAPI HookFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
    std::wstring normal = NormalWide(pattern);
    if (IsAway(normal)) return Refuse(INVALID_HANDLE_VALUE);
    HANDLE find = FindFirstFileW(pattern, found);
    Remember(Faults().finds, find, std::move(normal));
    return find;
}

HANDLE WINAPI HookFindFirstFileExA(LPCSTR pattern, FINDEX_INFO_LEVELS level, LPVOID found,
                                   FINDEX_SEARCH_OPS search, LPVOID filter, DWORD flags) {
    std::wstring normal = NormalAnsi(pattern);
    if (IsAway(normal)) return Refuse(INVALID_HANDLE_VALUE);
    HANDLE find = FindFirstFileExA(pattern, level, found, search, filter, flags);
    Remember(Faults().finds, find, std::move(normal));
    return find;
}

HANDLE WINAPI HookFindFirstFileExW(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID found,
                                   FINDEX_SEARCH_OPS search, LPVOID filter, DWORD flags) {
    std::wstring normal = NormalWide(pattern);
    if (IsAway(normal)) return Refuse(INVALID_HANDLE_VALUE);
    HANDLE find = FindFirstFileExW(pattern, level, found, search, filter, flags);
    Remember(Faults().finds, find, std::move(normal));
    return find;
}

BOOL WINAPI HookFindNextFileA(HANDLE find, LPWIN32_FIND_DATAA found) {
    if (HandleAway(Faults().finds, find)) return Refuse(FALSE);
    return FindNextFileA(find, found);
}

BOOL WINAPI HookFindNextFileW(HANDLE find, LPWIN32_FIND_DATAW found) {
    if (HandleAway(Faults().finds, find)) return Refuse(FALSE);
    return FindNextFileW(find, found);
}

BOOL WINAPI HookFindClose(HANDLE find) {
    Forget(Faults().finds, find);
    return FindClose(find);
}

DWORD WINAPI HookGetFileAttributesA(LPCSTR path) {
    if (AwayA(path)) return Refuse<DWORD>(INVALID_FILE_ATTRIBUTES);
    return GetFileAttributesA(path);
}

DWORD WINAPI HookGetFileAttributesW(LPCWSTR path) {
    if (AwayW(path)) return Refuse<DWORD>(INVALID_FILE_ATTRIBUTES);
    return GetFileAttributesW(path);
}

BOOL WINAPI HookGetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
    if (AwayA(path)) return Refuse(FALSE);
    return GetFileAttributesExA(path, level, info);
}

BOOL WINAPI HookGetFileAttributesExW(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
    if (AwayW(path)) return Refuse(FALSE);
    return GetFileAttributesExW(path, level, info);
}

// A completion routine of a read the host may have ended: it learns why.
VOID WINAPI RoutedCompletion(DWORD error, DWORD bytes, LPOVERLAPPED overlapped) {
    LPOVERLAPPED_COMPLETION_ROUTINE routine = nullptr;
    {
        SFaults& faults = Faults();
        std::lock_guard<std::mutex> guard(faults.lock);
        const auto found = faults.pending.find(overlapped);
        if (found != faults.pending.end()) {
            routine = found->second.routine;
            faults.pending.erase(found);
        }
        if (faults.ended.erase(overlapped)) {
            error = kAwayReadEnded;
            bytes = 0;
        }
    }
    if (routine) routine(error, bytes, overlapped);
}

BOOL WINAPI HookReadDirectoryChangesW(HANDLE directory, LPVOID buffer, DWORD size, BOOL subtree,
                                      DWORD filter, LPDWORD returned, LPOVERLAPPED overlapped,
                                      LPOVERLAPPED_COMPLETION_ROUTINE routine) {
    SFaults& faults = Faults();
    std::wstring path;
    {
        std::lock_guard<std::mutex> guard(faults.lock);
        const auto found = faults.handles.find(directory);
        if (found != faults.handles.end()) path = found->second;
        if (IsAwayLocked(path)) return Refuse(FALSE, kAwayReadEnded);
        if (overlapped) {
            faults.ended.erase(overlapped);
            faults.pending[overlapped] = {directory, path, routine};
        }
    }
    const BOOL ok = ReadDirectoryChangesW(directory, buffer, size, subtree, filter, returned,
                                          overlapped, routine ? RoutedCompletion : nullptr);
    if (!ok && overlapped) {
        const DWORD error = GetLastError();
        {
            std::lock_guard<std::mutex> guard(faults.lock);
            faults.pending.erase(overlapped);
        }
        SetLastError(error);
    }
    return ok;
}

BOOL WINAPI HookGetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD got, BOOL wait) {
    const BOOL ok = GetOverlappedResult(file, overlapped, got, wait);
    const DWORD error = GetLastError();
    if (!ok && error == ERROR_IO_INCOMPLETE) return ok;
    SFaults& faults = Faults();
    std::lock_guard<std::mutex> guard(faults.lock);
    const auto found = faults.pending.find(overlapped);
    // A completion routine's read is the routine's to finish.
    if (found != faults.pending.end() && found->second.routine) {
        SetLastError(error);
        return ok;
    }
    if (found != faults.pending.end()) faults.pending.erase(found);
    if (faults.ended.erase(overlapped)) {
        if (got) *got = 0;
        return Refuse(FALSE, kAwayReadEnded);
    }
    SetLastError(error);
    return ok;
}

HANDLE WINAPI HookFindFirstChangeNotificationA(LPCSTR path, BOOL subtree, DWORD filter) {
    if (AwayA(path)) return Refuse(INVALID_HANDLE_VALUE);
    return FindFirstChangeNotificationA(path, subtree, filter);
}

HANDLE WINAPI HookFindFirstChangeNotificationW(LPCWSTR path, BOOL subtree, DWORD filter) {
    if (AwayW(path)) return Refuse(INVALID_HANDLE_VALUE);
    return FindFirstChangeNotificationW(path, subtree, filter);
}

// The private-profile functions answer for an unreachable file as for a
// missing one: the fallback, and writes refused.
DWORD CopyFallbackA(LPCSTR fallback, LPSTR out, DWORD size) {
    if (!out || size == 0) return 0;
    const size_t n = std::min<size_t>(fallback ? std::strlen(fallback) : 0, size - 1);
    if (n) std::memcpy(out, fallback, n);
    out[n] = '\0';
    SetLastError(ERROR_FILE_NOT_FOUND);
    return static_cast<DWORD>(n);
}

DWORD CopyFallbackW(LPCWSTR fallback, LPWSTR out, DWORD size) {
    if (!out || size == 0) return 0;
    const size_t n = std::min<size_t>(fallback ? wcslen(fallback) : 0, size - 1);
    if (n) std::memcpy(out, fallback, n * sizeof(wchar_t));
    out[n] = L'\0';
    SetLastError(ERROR_FILE_NOT_FOUND);
    return static_cast<DWORD>(n);
}

DWORD WINAPI HookGetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out,
                                          DWORD size, LPCSTR file) {
    if (AwayA(file)) return CopyFallbackA(fallback, out, size);
    return GetPrivateProfileStringA(section, key, fallback, out, size, file);
}

DWORD WINAPI HookGetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR fallback, LPWSTR out,
                                          DWORD size, LPCWSTR file) {
    if (AwayW(file)) return CopyFallbackW(fallback, out, size);
    return GetPrivateProfileStringW(section, key, fallback, out, size, file);
}

UINT WINAPI HookGetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT fallback, LPCSTR file) {
    if (AwayA(file)) return Refuse(static_cast<UINT>(fallback), ERROR_FILE_NOT_FOUND);
    return GetPrivateProfileIntA(section, key, fallback, file);
}

UINT WINAPI HookGetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT fallback, LPCWSTR file) {
    if (AwayW(file)) return Refuse(static_cast<UINT>(fallback), ERROR_FILE_NOT_FOUND);
    return GetPrivateProfileIntW(section, key, fallback, file);
}

BOOL WINAPI HookWritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    if (AwayA(file)) return Refuse(FALSE);
    return WritePrivateProfileStringA(section, key, value, file);
}

BOOL WINAPI HookWritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
    if (AwayW(file)) return Refuse(FALSE);
    return WritePrivateProfileStringW(section, key, value, file);
}

BOOL WINAPI HookCopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) {
    if (AwayA(from) || AwayA(to)) return Refuse(FALSE);
    return CopyFileA(from, to, failIfExists);
}

BOOL WINAPI HookCopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
    if (AwayW(from) || AwayW(to)) return Refuse(FALSE);
    return CopyFileW(from, to, failIfExists);
}

BOOL WINAPI HookMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    if (AwayA(from) || AwayA(to)) return Refuse(FALSE);
    return MoveFileExA(from, to, flags);
}

BOOL WINAPI HookMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (AwayW(from) || AwayW(to)) return Refuse(FALSE);
    return MoveFileExW(from, to, flags);
}

BOOL WINAPI HookReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags,
                             LPVOID exclude, LPVOID reserved) {
    if (AwayA(replaced) || AwayA(replacement) || AwayA(backup)) return Refuse(FALSE);
    return ReplaceFileA(replaced, replacement, backup, flags, exclude, reserved);
}

BOOL WINAPI HookReplaceFileW(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                             LPVOID exclude, LPVOID reserved) {
    if (AwayW(replaced) || AwayW(replacement) || AwayW(backup)) return Refuse(FALSE);
    return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
}

BOOL WINAPI HookDeleteFileA(LPCSTR path) {
    if (AwayA(path)) return Refuse(FALSE);
    return DeleteFileA(path);
}

BOOL WINAPI HookDeleteFileW(LPCWSTR path) {
    if (AwayW(path)) return Refuse(FALSE);
    return DeleteFileW(path);
}

BOOL WINAPI HookCreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security) {
    if (AwayA(path)) return Refuse(FALSE);
    return CreateDirectoryA(path, security);
}

BOOL WINAPI HookCreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security) {
    if (AwayW(path)) return Refuse(FALSE);
    return CreateDirectoryW(path, security);
}

BOOL WINAPI HookRemoveDirectoryA(LPCSTR path) {
    if (AwayA(path)) return Refuse(FALSE);
    return RemoveDirectoryA(path);
}

BOOL WINAPI HookRemoveDirectoryW(LPCWSTR path) {
    if (AwayW(path)) return Refuse(FALSE);
    return RemoveDirectoryW(path);
}

struct SHook {
    const char* name;
    void* hook;
};

#define HOOK(function) {#function, reinterpret_cast<void*>(&Hook##function)}
const SHook kHooks[] = {
    HOOK(CreateFileA), HOOK(CreateFileW), HOOK(CloseHandle), HOOK(ReadFile), HOOK(WriteFile),
    HOOK(GetFileSize), HOOK(GetFileSizeEx), HOOK(SetFilePointerEx), HOOK(SetEndOfFile),
    HOOK(FlushFileBuffers), HOOK(FindFirstFileA), HOOK(FindFirstFileW), HOOK(FindFirstFileExA),
    HOOK(FindFirstFileExW), HOOK(FindNextFileA), HOOK(FindNextFileW), HOOK(FindClose),
    HOOK(GetFileAttributesA), HOOK(GetFileAttributesW), HOOK(GetFileAttributesExA),
    HOOK(GetFileAttributesExW), HOOK(ReadDirectoryChangesW), HOOK(GetOverlappedResult),
    HOOK(FindFirstChangeNotificationA), HOOK(FindFirstChangeNotificationW),
    HOOK(GetPrivateProfileStringA), HOOK(GetPrivateProfileStringW), HOOK(GetPrivateProfileIntA),
    HOOK(GetPrivateProfileIntW), HOOK(WritePrivateProfileStringA), HOOK(WritePrivateProfileStringW),
    HOOK(CopyFileA), HOOK(CopyFileW), HOOK(MoveFileExA), HOOK(MoveFileExW), HOOK(ReplaceFileA),
    HOOK(ReplaceFileW), HOOK(DeleteFileA), HOOK(DeleteFileW), HOOK(CreateDirectoryA),
    HOOK(CreateDirectoryW), HOOK(RemoveDirectoryA), HOOK(RemoveDirectoryW),
};
#undef HOOK

void* HookFor(const char* name) {
    for (const SHook& hook : kHooks)
        if (std::strcmp(hook.name, name) == 0) return hook.hook;
    return nullptr;
}

// --- the commands ---------------------------------------------------------

bool Away(const std::wstring& folder, std::string* error) {
    SFaults& faults = Faults();
    std::vector<std::pair<HANDLE, LPOVERLAPPED>> ending;
    {
        std::lock_guard<std::mutex> guard(faults.lock);
        if (std::find(faults.away.begin(), faults.away.end(), folder) != faults.away.end()) {
            *error = "away: the folder is away already";
            return false;
        }
        faults.away.push_back(folder);
        for (const auto& read : faults.pending) {
            if (!Under(read.second.path, folder)) continue;
            faults.ended.insert(read.first);
            ending.emplace_back(read.second.directory, read.first);
        }
    }
    // Ends each read at once; the plug-in learns the reason from its result.
    for (const auto& read : ending) CancelIoEx(read.first, read.second);
    return true;
}

bool Back(const std::wstring& folder, std::string* error) {
    SFaults& faults = Faults();
    std::lock_guard<std::mutex> guard(faults.lock);
    const auto found = std::find(faults.away.begin(), faults.away.end(), folder);
    if (found == faults.away.end()) {
        *error = "back: the folder is not away";
        return false;
    }
    faults.away.erase(found);
    return true;
}

SVolume* VolumeHolding(const std::wstring& path) {
    for (SVolume& volume : Faults().volumes)
        if (Under(path, volume.path)) return &volume;
    return nullptr;
}

bool Volume(const std::string& shown, const std::wstring& folder, const std::string& kib,
            std::string* error) {
    long long size = 0;
    if (!ParseInteger(kib, &size) || size < 1 || size > kMostVolumeKib) {
        *error = "volume: the size is a number of KiB from 1 to " + std::to_string(kMostVolumeKib);
        return false;
    }
    if (!CreateFolders(shown)) {
        *error = "volume: cannot create the folder " + shown;
        return false;
    }
    ULARGE_INTEGER total = {};
    const std::wstring root = folder + L"\\";
    if (!GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr) ||
        total.QuadPart > static_cast<ULONGLONG>(size) * 1024 + kVolumeSlack) {
        *error = "volume: " + shown + " is not a volume of its own (tools/bkhost mounts one there)";
        return false;
    }
    Faults().volumes.push_back({folder, false});
    return true;
}

bool Fill(const std::wstring& path, std::string* error) {
    SVolume* volume = VolumeHolding(path);
    if (!volume) {
        *error = "fill: the path lies on no volume of this script";
        return false;
    }
    if (volume->filled) {
        *error = "fill: the volume is full already";
        return false;
    }
    const std::wstring filler = volume->path + L"\\" + kFillerName;
    HANDLE file = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = "fill: cannot create " + WideToUtf8(filler);
        return false;
    }
    // Large pieces first, then ever smaller ones, down to the last byte.
    std::vector<char> zeros(64 * 1024, '\0');
    for (DWORD piece = static_cast<DWORD>(zeros.size()); piece > 0; piece /= 2) {
        DWORD written = 0;
        while (WriteFile(file, zeros.data(), piece, &written, nullptr) && written == piece) {
        }
    }
    CloseHandle(file);
    volume->filled = true;
    return true;
}

bool Unfill(const std::wstring& path, std::string* error) {
    SVolume* volume = VolumeHolding(path);
    if (!volume || !volume->filled) {
        *error = "unfill: the volume was not filled";
        return false;
    }
    const std::wstring filler = volume->path + L"\\" + kFillerName;
    if (!DeleteFileW(filler.c_str())) {
        *error = "unfill: cannot delete " + WideToUtf8(filler);
        return false;
    }
    volume->filled = false;
    return true;
}

}  // namespace

void WantFileFaults(bool wanted) { Faults().wanted = wanted; }

void InterceptFileCalls(HMODULE plugin) {
    auto* base = reinterpret_cast<BYTE*>(plugin);
    if (!base || !Faults().wanted) return;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        if (library->OriginalFirstThunk == 0) continue;   // no names to go by
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            void* hook = HookFor(reinterpret_cast<const char*>(byName->Name));
            if (!hook) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                continue;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
        }
    }
}

bool IsFileFaultCommand(const std::string& name) {
    return name == "away" || name == "back" || name == "volume" || name == "fill" || name == "unfill";
}

bool RunFileFaultCommand(const SScriptCommand& command, const std::string& path, std::string* error) {
    const std::wstring folder = Normal(Utf8ToWide(path));
    const std::string& name = command.name;
    if (name == "away") return Away(folder, error);
    if (name == "back") return Back(folder, error);
    if (name == "volume") return Volume(path, folder, command.args[1], error);
    if (name == "fill") return Fill(folder, error);
    if (name == "unfill") return Unfill(folder, error);
    *error = "not a file-system command: " + name;
    return false;
}
