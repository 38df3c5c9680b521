#include "support/test_support.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace test {

namespace {

fs::path ScratchRoot() {
    if (const char* dir = std::getenv("HALYARD_TEST_TMP")) return fs::path(dir);
    return fs::temp_directory_path();
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path root = ScratchRoot();
    fs::create_directories(root);
    for (;;) {
        std::ostringstream name;
        name << "hy" << (stamp % 1000000) << "_" << counter++;
        fs::path candidate = root / name.str();
        if (fs::create_directory(candidate)) {
            path_ = candidate.make_preferred().string();
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(fs::path(path_), ignored);
}

std::string TempDir::Join(std::string_view relative) const {
    fs::path p = fs::path(path_) / fs::path(std::string(relative));
    return p.make_preferred().string();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    fs::path p(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::path(path), ignored);
}

}  // namespace test
