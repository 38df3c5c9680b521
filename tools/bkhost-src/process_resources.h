// What this process holds, counted from the system's own records rather
// than from GetProcessHandleCount and GetGuiResources, which Wine answers
// with 0. A long run compares two counts to see whether anything grows.
#pragma once

#include <array>
#include <string>
#include <string_view>

enum class SResourceKind { Handles, Gdi, Windows, Threads, PrivateKib };
constexpr size_t kResourceKinds = 5;

struct SResourceCounts {
    std::array<long long, kResourceKinds> values{};
    long long& operator[](SResourceKind kind) { return values[static_cast<size_t>(kind)]; }
    long long operator[](SResourceKind kind) const { return values[static_cast<size_t>(kind)]; }
};

// The name a transcript gives the kind: handles, gdi, windows, threads,
// private-kib.
std::string_view ResourceName(SResourceKind kind);

// Counts everything now. A count the system would not give is -1.
SResourceCounts CountResources();

// "resources: handles N, gdi N, windows N, threads N, private-kib N"
std::string ResourcesLine(const SResourceCounts& counts);
