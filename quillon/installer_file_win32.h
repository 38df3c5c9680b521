// The downloaded installer: a new file in the user's temporary folder that
// is deleted unless it was verified and started.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "common/win32_handles.h"
#include "quillon/announcement.h"

// Owns the file's path: deletes the file on destruction unless Keep() was
// called. The handle that writes it is the caller's, and must be closed
// first: declared after this object, it is.
class NewTempFile {
public:
    NewTempFile() = default;
    ~NewTempFile();
    NewTempFile(const NewTempFile&) = delete;
    NewTempFile& operator=(const NewTempFile&) = delete;

    // Creates name (or name-1, name-2 ... when taken) in the temporary
    // folder, never opening a file that already exists, and answers the
    // handle to write it; an invalid one with the system error in *error.
    win32::ScopedFile Create(std::string_view name, DWORD* error);
    const std::wstring& Path() const { return path_; }
    void Keep() { keep_ = true; }

private:
    std::wstring path_;
    bool keep_ = false;
};

// Opens path for reading while denying writers (kept open in *locked) and
// checks its size and SHA-256 against the announcement's.
bool VerifyInstaller(const std::wstring& path, uint64_t size, const Sha256Digest& digest,
                     win32::ScopedFile* locked);

// Starts the file with the system's default handler. False with the
// system error in *error.
bool StartInstaller(HWND owner, const std::wstring& path, DWORD* error);
