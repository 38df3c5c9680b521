// Writes a generated address book and its manifest natively, for the host
// benchmark under Wine: creating 100,000 card files through Wine takes
// minutes, natively a few seconds.
//   halyard_generate_book SCRATCH CONTACTS FOLDERS SEED HOST_SCRATCH
// The book goes into SCRATCH/data, the manifest into SCRATCH/manifest.txt;
// HOST_SCRATCH is how Wine names SCRATCH (Z:\...), for the full path that
// an outside book's "Address.ini" holds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/book_generator.h"
#include "common/text.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: halyard_generate_book SCRATCH CONTACTS FOLDERS SEED HOST_SCRATCH\n");
        return 2;
    }
    const std::string scratch = argv[1];
    BookShape shape;
    shape.contacts = std::atoi(argv[2]);
    shape.folders = std::atoi(argv[3]);
    shape.seed = static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10));
    const std::string data = scratch + "/data";
    const std::string hostData = JoinPath(argv[5], "data");

    const auto start = std::chrono::steady_clock::now();
    GeneratedBook book;
    if (!GenerateAddressBook(data, shape, &book, hostData) ||
        !WriteBookManifest(scratch + "/manifest.txt", data, book)) {
        std::fprintf(stderr, "generate_book: cannot write the address book into %s\n", data.c_str());
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("generated %d contacts in %d folders: %llu files, %llu index bytes, %.1f s\n",
                shape.contacts, shape.folders, static_cast<unsigned long long>(book.files),
                static_cast<unsigned long long>(book.indexBytes), took.count());
    return 0;
}
