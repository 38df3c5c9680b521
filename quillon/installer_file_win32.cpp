#include "quillon/installer_file_win32.h"

#include <shellapi.h>

#include "quillon/crypto_win32.h"
#include "quillon/update_address.h"

namespace {

constexpr unsigned kMaxNameTries = 100;
constexpr DWORD kHashChunk = 64 * 1024;

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    return n > 0 && n <= MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

}  // namespace

NewTempFile::~NewTempFile() {
    if (!path_.empty() && !keep_) DeleteFileW(path_.c_str());
}

win32::ScopedFile NewTempFile::Create(std::string_view name, DWORD* error) {
    const std::wstring folder = TempFolder();
    if (folder.empty()) {
        *error = GetLastError();
        return win32::ScopedFile();
    }
    for (unsigned n = 0; n < kMaxNameTries; ++n) {
        const std::string candidate = NumberedFileName(name, n);   // ASCII by construction
        const std::wstring path = folder + std::wstring(candidate.begin(), candidate.end());
        win32::ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            path_ = path;
            return file;
        }
        *error = GetLastError();
        if (*error != ERROR_FILE_EXISTS && *error != ERROR_ALREADY_EXISTS) break;
    }
    return win32::ScopedFile();
}

bool VerifyInstaller(const std::wstring& path, uint64_t size, const Sha256Digest& digest,
                     win32::ScopedFile* locked) {
    win32::ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER actual = {};
    if (!GetFileSizeEx(file.Get(), &actual) || static_cast<uint64_t>(actual.QuadPart) != size) return false;
    Sha256Stream hash;
    std::string chunk(kHashChunk, '\0');
    uint64_t read = 0;
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), &chunk[0], kHashChunk, &got, nullptr)) return false;
        if (got == 0) break;
        if (!hash.Update(chunk.data(), got)) return false;
        read += got;
    }
    Sha256Digest actualDigest;
    if (read != size || !hash.Finish(&actualDigest) || actualDigest != digest) return false;
    *locked = std::move(file);
    return true;
}

bool StartInstaller(HWND owner, const std::wstring& path, DWORD* error) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) return true;
    *error = GetLastError();
    return false;
}
