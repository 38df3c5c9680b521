#include "common/small_file.h"

#include <cstdint>
#include <exception>
#include <utility>

#include "common/platform.h"

SSmallFile::SSmallFile(const char* path) {
    platform::File file = platform::File::OpenRead(path, /*exclusive=*/true);
    if (!file.IsOpen()) return;
    uint64_t size = 0;
    if (!file.Size(&size) || size >= UINT32_MAX) return;
    auto n = static_cast<uint32_t>(size);
    // A file too large for memory reads as unreadable, as one that fails.
    std::vector<char> buffer;
    try {
        buffer.resize(size_t{n} + 1);
    } catch (const std::exception&) {   // no memory, or more than a vector holds
        return;
    }
    uint32_t got = 0;
    if (!file.Read(buffer.data(), n, &got) || got != n) return;
    buffer[n] = '\0';
    buffer_ = std::move(buffer);
    contents_ = buffer_.data();
    size_ = n;
}

SSmallFile::~SSmallFile() = default;
