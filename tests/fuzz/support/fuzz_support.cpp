#include "fuzz/support/fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "addressbook_reference_lookup.h"
#include "common/text.h"
#include "support/test_support.h"

namespace fuzz {

std::vector<std::string_view> Pieces(std::string_view input, size_t count) {
    std::vector<std::string_view> pieces;
    while (pieces.size() + 1 < count) {
        const size_t nul = input.find('\0');
        if (nul == std::string_view::npos) break;
        pieces.push_back(input.substr(0, nul));
        input.remove_prefix(nul + 1);
    }
    pieces.push_back(input);
    pieces.resize(count);
    return pieces;
}

namespace {

// Files in memory where the system has such a folder (unless the tests'
// scratch root is set): the targets write a few files per input, and a disk
// makes that the slowest part of a run.
constexpr char kMemoryFolder[] = "/dev/shm";

bool PreferMemoryFolder() {
    std::error_code ignored;
    if (std::getenv("HALYARD_TEST_TMP") || !std::filesystem::is_directory(kMemoryFolder, ignored))
        return false;
    return setenv("HALYARD_TEST_TMP", kMemoryFolder, 0) == 0;
}

}  // namespace

const std::string& ScratchFolder() {
    static const bool inMemory = PreferMemoryFolder();
    // Destroyed, and the folder removed with everything in it, at exit.
    static const test::TempDir folder;
    (void)inMemory;
    return folder.Path();
}

std::string WriteScratchFile(std::string_view relative, std::string_view bytes) {
    const std::string path = JoinPath(ScratchFolder(), relative);
    Check(reference::WriteWhole(path, bytes), "scratch file written");
    return path;
}

void RemoveScratch(std::string_view relative) {
    std::string native(relative);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(ScratchFolder()) / native, ignored);
}

}  // namespace fuzz
