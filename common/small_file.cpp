#include "common/small_file.h"

#include <cstdint>
#include <new>

#include "common/platform.h"

SSmallFile::SSmallFile(const char* path) {
    platform::File file = platform::File::OpenRead(path, /*exclusive=*/true);
    if (!file.IsOpen()) return;
    uint64_t size = 0;
    if (!file.Size(&size) || size >= UINT32_MAX) return;
    auto n = static_cast<uint32_t>(size);
    char* buffer = new (std::nothrow) char[size_t{n} + 1];
    if (!buffer) return;
    uint32_t got = 0;
    if (!file.Read(buffer, n, &got) || got != n) {
        delete[] buffer;
        return;
    }
    buffer[n] = '\0';
    contents_ = buffer;
    size_ = n;
}

SSmallFile::~SSmallFile() { delete[] contents_; }
