// The downloaded installer: a new file in the user's temporary folder that
// is deleted unless it was verified and started.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "common/win32_handles.h"
#include "quillon/announcement.h"

// Owns the file and its path: closes and deletes it on destruction unless
// Keep() was called.
class NewTempFile {
public:
    NewTempFile() = default;
    ~NewTempFile();
    NewTempFile(const NewTempFile&) = delete;
    NewTempFile& operator=(const NewTempFile&) = delete;

    // Creates name (or name-1, name-2 ... when taken) in the temporary
    // folder, never opening a file that already exists. False with the
    // system error in *error.
    bool Create(std::string_view name, DWORD* error);
    HANDLE Handle() const { return file_.Get(); }
    const std::wstring& Path() const { return path_; }
    // Ends writing; the file stays until destruction.
    void CloseHandle() { file_.Reset(); }
    void Keep() { keep_ = true; }

private:
    std::wstring path_;
    win32::ScopedFile file_;
    bool keep_ = false;
};

// Opens path for reading while denying writers (kept open in *locked) and
// checks its size and SHA-256 against the announcement's.
bool VerifyInstaller(const std::wstring& path, uint64_t size, const Sha256Digest& digest,
                     win32::ScopedFile* locked);

// Starts the file with the system's default handler. False with the
// system error in *error.
bool StartInstaller(HWND owner, const std::wstring& path, DWORD* error);
