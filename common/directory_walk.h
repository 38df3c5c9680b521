// Visits the entries of a directory tree.
#pragma once

#include <cstdint>

#include "common/platform.h"

// Visitor results: 1 go on, 0 end the whole walk, any other value end the
// listing of this directory (subdirectories are still walked).
using WalkVisitor = uint8_t (*)(void* context, const char* directory, const char* fullPath,
                                const platform::DirEntry& entry);

// Returns 1 when the walk ran to its end, else the visitor's stopping result.
uint8_t WalkDirectory(void* context, const char* directory, const char* pattern, bool recurse,
                      WalkVisitor visitor);
