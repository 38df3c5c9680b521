// Shared pieces of the fuzz targets: a check that libFuzzer records as a
// crash, inputs cut into pieces, and a scratch folder of the process for
// targets that read files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Ends the run with the reason on stderr; libFuzzer keeps the input.
inline void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// The input as text.
inline std::string_view Text(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at NUL bytes into exactly count pieces: the last one takes
// the rest (NULs included), missing ones are empty.
std::vector<std::string_view> Pieces(std::string_view input, size_t count);

// A folder of this process (platform separators, no trailing one), created
// on first use and removed with everything in it when the process ends.
const std::string& ScratchFolder();

// Writes bytes to ScratchFolder() + relative ('\\' separators) through the
// platform seam, replacing any earlier file; returns the full path.
std::string WriteScratchFile(std::string_view relative, std::string_view bytes);

// Removes ScratchFolder() + relative with everything below it.
void RemoveScratch(std::string_view relative);

}  // namespace fuzz
