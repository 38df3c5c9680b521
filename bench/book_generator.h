// Realistic host address books for benchmarks and comparison tests: several
// books (one stored outside "AddrBook"), nested folders, "Group.idx" files
// of CR LF records with vCards beside them, western and Japanese names
// (Shift_JIS and UTF-8), and the faults of real books: duplicates across
// folders, malformed and over-long records, missing card files. The same
// shape and seed always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BookShape {
    int contacts = 100;
    int folders = 1;
    uint32_t seed = 1;
};

struct GeneratedBook {
    std::string root;                      // the "AddrBook" folder
    std::vector<std::string> folderPaths;  // every folder, in creation order
    std::vector<std::string> indexPaths;   // every "Group.idx" written
    std::vector<std::string> addresses;    // one per contact, as stored
    uint64_t indexBytes = 0;               // total size of the "Group.idx" files
    uint64_t files = 0;                    // files written
};

// Writes the books below dataFolder ("AddrBook" and the outside book's
// folder). hostDataFolder is how the program that reads the book names
// dataFolder (the outside book's "Address.ini" holds a full path); empty
// when it is the same. False when a folder or file cannot be written.
bool GenerateAddressBook(const std::string& dataFolder, const BookShape& shape, GeneratedBook* out,
                         const std::string& hostDataFolder = std::string());

// The book's description in a text file, its paths relative to dataFolder:
// a book written natively is read under Wine through another name.
bool WriteBookManifest(const std::string& manifestPath, const std::string& dataFolder,
                       const GeneratedBook& book);
bool ReadBookManifest(const std::string& manifestPath, const std::string& dataFolder,
                      GeneratedBook* book);

// count addresses to write into a reply: mostly listed ones spread over the
// whole book, a few in other letter case, a few not listed at all.
std::vector<std::string> SampleRecipients(const GeneratedBook& book, int count, uint32_t seed);

// Small deterministic generator (xorshift), the same on every platform.
class BenchRandom {
public:
    explicit BenchRandom(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {
        if (state_ == 0) state_ = 1;
    }
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // 0 .. n-1
    uint32_t Below(uint32_t n) { return n == 0 ? 0 : Next() % n; }
    // True with the chance percent / 100.
    bool Chance(uint32_t percent) { return Below(100) < percent; }

private:
    uint32_t state_;
};
