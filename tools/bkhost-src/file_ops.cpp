#include "file_ops.h"

#include <windows.h>

#include "codepage.h"
#include "common/win32_handles.h"

namespace {

bool IsFullPath(std::string_view path) {
    return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
           (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
}

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool DeleteTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != 0;
    WIN32_FIND_DATAW found;
    if (const win32::ScopedFind find{FindFirstFileW((path + L"\\*").c_str(), &found)}) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            DeleteTree(path + L"\\" + name);
        } while (FindNextFileW(find.Get(), &found));
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

}  // namespace

std::string ResolveScriptPath(std::string_view path, const std::string& dataFolder) {
    std::string resolved(path);
    for (char& c : resolved)
        if (c == '/') c = '\\';
    if (IsFullPath(resolved)) return resolved;
    while (!resolved.empty() && resolved[0] == '\\') resolved.erase(0, 1);
    return dataFolder + "\\" + resolved;
}

bool CreateFolders(const std::string& folder) {
    if (folder.empty()) return true;
    std::wstring wide = Utf8ToWide(folder);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::string parent = ParentOf(folder);
    if (!parent.empty() && parent.size() > 2 && !CreateFolders(parent)) return false;
    return CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    if (!CreateFolders(ParentOf(path))) return false;
    const win32::ScopedFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                         &written, nullptr);
    return ok && written == bytes.size();
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    const win32::ScopedFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bytes->clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        bytes->append(buffer, got);
    return ok;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DeletePath(const std::string& path) { return DeleteTree(Utf8ToWide(path)); }
