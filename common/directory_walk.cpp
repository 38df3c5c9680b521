#include "common/directory_walk.h"

#include <string>
#include <vector>

#include "common/sizes.h"
#include "common/text.h"

namespace {

// The longest full path handed to a visitor, in characters.
constexpr size_t kWalkPathMax = 514;

}  // namespace

uint8_t WalkDirectory(void* context, const char* directory, const char* pattern, bool recurse,
                      WalkVisitor visitor) {
    if (!directory || !pattern) return 1;
    std::string search = JoinPath(directory, pattern);
    if (search.size() < kPathSize && visitor) {
        uint8_t stop = 1;
        platform::ListDirectory(directory, pattern, [&](const platform::DirEntry& entry) {
            std::string full = JoinPath(directory, entry.name);
            if (full.size() > kWalkPathMax) return true;   // cannot be named: skipped
            uint8_t result = visitor(context, directory, full.c_str(), entry);
            if (result == 1) return true;
            stop = result;
            return false;
        });
        if (stop == 0) return 0;
    }
    if (!recurse || !visitor) return 1;

    // Collected first so that no listing stays open during the walk below.
    std::vector<std::string> subdirectories;
    platform::ListDirectory(directory, "*.*", [&](const platform::DirEntry& entry) {
        if (entry.isDirectory) subdirectories.push_back(JoinPath(directory, entry.name));
        return true;
    });
    for (const std::string& sub : subdirectories) {
        if (sub.size() >= kPathSize) continue;
        uint8_t result = WalkDirectory(context, sub.c_str(), pattern, recurse, visitor);
        if (result != 1) return result;
    }
    return 1;
}
