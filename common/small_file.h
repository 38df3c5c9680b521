// A whole file in memory, NUL-terminated. The file is opened without sharing,
// so a file that another handle holds open is not read.
#pragma once

#include <cstdint>
#include <vector>

class SSmallFile {
public:
    explicit SSmallFile(const char* path);
    virtual ~SSmallFile();
    SSmallFile(const SSmallFile&) = delete;
    SSmallFile& operator=(const SSmallFile&) = delete;

    // nullptr when the file could not be read whole.
    char* Contents() const { return contents_; }
    uint32_t Size() const { return size_; }

protected:
    // Into the buffer below, which derived readers may rewrite in place;
    // nullptr when the file could not be read whole.
    char* contents_ = nullptr;
    uint32_t size_ = 0;

private:
    std::vector<char> buffer_;
};
