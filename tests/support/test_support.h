// Helpers for tests on both platforms: scratch folders and raw file bytes.
#pragma once

#include <string>
#include <string_view>

namespace test {

// A fresh, empty folder, removed with everything in it on destruction.
// Path() uses the platform's separator and has no trailing separator.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() joined with a relative path written with '/'.
    std::string Join(std::string_view relative) const;

private:
    std::string path_;
};

// Writes bytes exactly, creating parent folders.
void WriteBytes(const std::string& path, std::string_view bytes);
// The file's bytes; "" when it cannot be read.
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

}  // namespace test
