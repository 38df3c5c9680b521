// The platform seam over the Windows API.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "common/platform.h"
#include "common/win32_handles.h"

namespace platform {

namespace {

constexpr char kHostKey[] = "Software\\RimArts\\B2\\Settings";
// The longest path the wide functions take.
constexpr DWORD kLongPath = 32768;
// ShellExecute answers above this on success.
constexpr INT_PTR kShellExecuteFailed = 32;

platform::FileStamp StampOf(DWORD sizeHigh, DWORD sizeLow, const FILETIME& written) {
    platform::FileStamp stamp;
    stamp.size = (uint64_t{sizeHigh} << 32) | sizeLow;
    stamp.writeTime = (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
    return stamp;
}

HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
intptr_t FromHandle(HANDLE h) { return reinterpret_cast<intptr_t>(h); }

intptr_t Invalid() { return FromHandle(INVALID_HANDLE_VALUE); }

HINSTANCE g_module = nullptr;

HINSTANCE Instance() { return g_module; }

win32::ScopedRegKey OpenHostKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kHostKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return win32::ScopedRegKey();
    }
    return win32::ScopedRegKey(key);
}

}  // namespace

// --- files ---------------------------------------------------------------

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = Invalid(); }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = Invalid();
    }
    return *this;
}

File File::OpenRead(const char* path, bool exclusive) {
    File file;
    if (!path) return file;
    DWORD share = exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    file.handle_ = FromHandle(CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    return file;
}

File File::OpenAlways(const char* path) {
    File file;
    if (!path) return file;
    file.handle_ = FromHandle(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    return file;
}

bool File::IsOpen() const { return handle_ != Invalid() && handle_ != 0; }

bool File::Size(uint64_t* size) const {
    if (!IsOpen() || !size) return false;
    DWORD high = 0;
    DWORD low = GetFileSize(AsHandle(handle_), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    *size = (uint64_t{high} << 32) | low;
    return true;
}

bool File::Seek(uint64_t offset) {
    if (!IsOpen()) return false;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN) != 0;
}

bool File::SeekEnd() {
    if (!IsOpen()) return false;
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    return SetFilePointerEx(AsHandle(handle_), zero, nullptr, FILE_END) != 0;
}

bool File::Read(void* buffer, uint32_t n, uint32_t* got) {
    if (got) *got = 0;
    if (!IsOpen() || !got) return false;
    DWORD read = 0;
    if (!ReadFile(AsHandle(handle_), buffer, n, &read, nullptr)) return false;
    *got = read;
    return true;
}

bool File::Write(const void* buffer, uint32_t n) {
    if (!IsOpen()) return false;
    DWORD written = 0;
    return WriteFile(AsHandle(handle_), buffer, n, &written, nullptr) && written == n;
}

bool File::Truncate(uint64_t size) {
    return Seek(size) && SetEndOfFile(AsHandle(handle_));
}

void File::Close() {
    // Handed to the file owner, the one place that closes a file handle.
    const win32::ScopedFile closing(IsOpen() ? AsHandle(handle_) : INVALID_HANDLE_VALUE);
    handle_ = Invalid();
}

bool FileExists(const char* path) {
    if (!path) return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool GetFileStamp(const char* path, FileStamp* stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    *stamp = StampOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
    return true;
}

bool IsDirectory(const char* path) {
    if (!path) return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDirectories(const char* path) {
    if (!path || !*path) return false;
    std::string full(path);
    // Every prefix that ends before a separator, skipping double-byte
    // characters whose second byte looks like one. Prefixes that cannot be
    // created (drive, server, share) are left to the final check.
    for (size_t i = 0; i <= full.size(); ++i) {
        if (i < full.size()) {
            if (IsDBCSLeadByte(static_cast<BYTE>(full[i])) && i + 1 < full.size()) {
                ++i;
                continue;
            }
            if (full[i] != '\\' && full[i] != '/') continue;
        }
        std::string part = full.substr(0, i);
        if (!part.empty() && !IsDirectory(part.c_str())) CreateDirectoryA(part.c_str(), nullptr);
    }
    return IsDirectory(full.c_str());
}

namespace {

// The name a file is made under before it takes its own, beside it.
std::string BesideName(const char* path) { return std::string(path) + ".new"; }

}  // namespace

bool CopyFileNoOverwrite(const char* from, const char* to) {
    if (!from || !to) return false;
    const std::string temp = BesideName(to);
    // No replacing: an existing target stays as it is.
    const bool ok = CopyFileA(from, temp.c_str(), FALSE) &&
                    MoveFileExA(temp.c_str(), to, MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}

bool ReplaceFileContents(const char* path, std::string_view bytes) {
    if (!path || bytes.size() > MAXDWORD) return false;
    const std::string temp = BesideName(path);
    bool ok = false;
    {
        const win32::ScopedFile file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!file) return false;
        const auto size = static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        ok = (size == 0 || (WriteFile(file.Get(), bytes.data(), size, &written, nullptr) &&
                            written == size)) &&
             FlushFileBuffers(file.Get());
    }
    ok = ok && MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}

bool DeleteFilePath(const char* path) { return path && DeleteFileA(path); }

bool ListDirectory(const char* dir, const char* pattern,
                   const std::function<bool(const DirEntry&)>& visit) {
    if (!dir || !pattern) return false;
    std::string search(dir);
    if (!search.empty() && search.back() != '\\' && search.back() != '/') search += '\\';
    search += pattern;
    WIN32_FIND_DATAA data;
    win32::ScopedFind find(FindFirstFileA(search.c_str(), &data));
    if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
        DirEntry entry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       StampOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime)};
        if (!visit(entry)) return true;
    } while (FindNextFileA(find.Get(), &data));
    // A listing cut short (the folder went away on the way) is no listing.
    return GetLastError() == ERROR_NO_MORE_FILES;
}

// --- code pages ----------------------------------------------------------

unsigned AnsiCodePage() { return GetACP(); }

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != 0; }

std::string Utf8ToAnsi(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > 0x7FFFFFFF) return std::string();
    int length = static_cast<int>(utf8.size());
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wide <= 0) return std::string();
    std::vector<wchar_t> w(static_cast<size_t>(wide));   // no std::wstring: 35 KiB of DLL
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, w.data(), wide);
    int bytes = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    if (ansi.empty() || ansi.size() > 0x7FFFFFFF) return std::string();
    int length = static_cast<int>(ansi.size());
    int wide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (wide <= 0) return std::string();
    std::vector<wchar_t> w(static_cast<size_t>(wide));   // no std::wstring: 35 KiB of DLL
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, w.data(), wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}

bool CodePageToAnsi(unsigned codePage, std::string_view bytes, std::string* out) {
    out->clear();
    if (bytes.empty()) return true;
    if (bytes.size() > 0x7FFFFFFF) return false;
    const int length = static_cast<int>(bytes.size());
    // Some code pages (the ISO-2022 family) refuse the strict flag.
    DWORD flags = MB_ERR_INVALID_CHARS;
    int wide = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (wide <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        wide = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    }
    if (wide <= 0) return false;
    std::vector<wchar_t> w(static_cast<size_t>(wide));
    MultiByteToWideChar(codePage, flags, bytes.data(), length, w.data(), wide);
    const int size = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    out->assign(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, &(*out)[0], size, nullptr, nullptr);
    return true;
}

size_t AnsiCharLength(std::string_view utf8Char) {
    constexpr size_t kMaxUtf8Char = 4;
    if (utf8Char.empty() || utf8Char.size() > kMaxUtf8Char) return 0;
    wchar_t wide[2];   // one character: at most a surrogate pair
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Char.data(),
                                          static_cast<int>(utf8Char.size()), wide, 2);
    if (units <= 0 || (units == 2 && !IS_HIGH_SURROGATE(wide[0]))) return 0;
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                           sizeof bytes, nullptr, &usedDefault);
    return length <= 0 || usedDefault ? 0 : static_cast<size_t>(length);
}

// --- private profile -----------------------------------------------------

size_t ProfileGetString(const char* section, const char* key, const char* fallback,
                        char* buffer, size_t size, const char* path) {
    if (!buffer || size == 0) return 0;
    DWORD n = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(size);
    return GetPrivateProfileStringA(section, key, fallback ? fallback : "", buffer, n, path);
}

int ProfileGetInt(const char* section, const char* key, int fallback, const char* path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path));
}

bool ProfileWriteString(const char* section, const char* key, const char* value,
                        const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != 0;
}

// --- host registry -------------------------------------------------------

bool HostKeyExists() { return static_cast<bool>(OpenHostKey()); }

std::optional<RegistryValue> ReadHostValue(const char* name) {
    win32::ScopedRegKey key = OpenHostKey();
    if (!key) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegistryValue value;
    value.type = type;
    value.data.resize(size);
    if (size > 0 &&
        RegQueryValueExA(key.Get(), name, nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

// --- folders -------------------------------------------------------------

std::string AppDataFolder() {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE)) return std::string();
    return path;
}

std::string CommonAppDataFolder() {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path))) return std::string();
    return path;
}

void SetModule(void* module) { g_module = static_cast<HINSTANCE>(module); }

void* Module() { return g_module; }

std::string ModuleFilePath() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(Instance(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    return std::string(path, n);
}

// --- modules -------------------------------------------------------------

void ModuleReleaser::operator()(void* module) const {
    if (module) FreeLibrary(static_cast<HMODULE>(module));
}

ModuleReference ReferenceModule() {
    HMODULE module = nullptr;
    // Whatever module holds this code: the plug-in library (or the program
    // a test links it into).
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&ReferenceModule), &module))
        return ModuleReference();
    return ModuleReference(module);
}

void ExitThreadReleasing(ModuleReference reference, unsigned exitCode) {
    FreeLibraryAndExitThread(static_cast<HMODULE>(reference.release()), exitCode);
}

ModuleReference LoadLibraryBesideModule(std::string_view fileName) {
    // Wide and long: the library's folder may hold any character and be
    // deeper than MAX_PATH.
    std::vector<wchar_t> path(kLongPath);   // no std::wstring: 35 KiB of DLL
    const DWORD n = GetModuleFileNameW(Instance(), path.data(), kLongPath);
    if (n == 0 || n >= kLongPath || fileName.empty()) return ModuleReference();
    size_t folder = n;
    while (folder > 0 && path[folder - 1] != L'\\' && path[folder - 1] != L'/') --folder;
    if (folder == 0) return ModuleReference();
    path.resize(folder);
    path.insert(path.end(), fileName.begin(), fileName.end());   // ASCII names
    path.push_back(L'\0');
    return ModuleReference(LoadLibraryExW(path.data(), nullptr, 0));
}

ModuleReference LoadSystemLibrary(std::string_view fileName) {
    std::vector<wchar_t> path(MAX_PATH);   // no std::wstring: 35 KiB of DLL
    const UINT n = GetSystemDirectoryW(path.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH || fileName.empty()) return ModuleReference();
    path.resize(n);
    path.push_back(L'\\');
    path.insert(path.end(), fileName.begin(), fileName.end());   // ASCII names
    path.push_back(L'\0');
    return ModuleReference(LoadLibraryW(path.data()));
}

void* LibraryFunction(const ModuleReference& library, const char* name) {
    if (!library || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library.get()), name));
}

void* ProgramModule() { return GetModuleHandleA(nullptr); }

void* ProgramExport(const char* name) {
    HMODULE program = GetModuleHandleA(nullptr);
    if (!program || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(program, name));
}

// --- user interface ------------------------------------------------------

int ShowMessageBox(void* owner, const char* text, const char* caption, unsigned flags) {
    return MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
}

bool OpenWithShell(void* owner, std::string_view target) {
    const std::string text(target);
    HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), "open", text.c_str(), nullptr,
                                     nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > kShellExecuteFailed;
}

std::string LoadResString(unsigned id, size_t maxBytes) {
    if (maxBytes == 0) return std::string();
    std::string buffer(maxBytes, '\0');
    int n = LoadStringA(Instance(), id, &buffer[0], static_cast<int>(maxBytes));
    if (n <= 0) return std::string();
    buffer.resize(static_cast<size_t>(n));
    return buffer;
}

bool ControlKeyDown() { return GetKeyState(VK_CONTROL) < 0; }

bool WindowExists(void* window) { return window && IsWindow(static_cast<HWND>(window)); }

}  // namespace platform
