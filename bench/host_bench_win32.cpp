// The plug-in's work while the user waits, timed inside the headless host
// under Wine against floors taken in the same process:
//   halyard_hostbench.exe generate SCRATCH CONTACTS FOLDERS SEED
//   halyard_hostbench.exe measure SCRATCH DLL
//   halyard_hostbench.exe smoke SCRATCH DLL
// "generate" writes an address book into SCRATCH\data and a manifest;
// "measure" loads DLL as the host does and prints "figure NAME VALUE"
// lines (bench/run-wine takes medians over runs). Separate processes keep
// each run's peak memory its own. "smoke" does both on a small book in one
// process, fewer rounds, and fails when the plug-in's answers are wrong.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_clock_win32.h"
#include "bench/bench_session_win32.h"
#include "bench/book_generator.h"
#include "host_registry.h"
#include "host_state.h"
#include "host_windows.h"

namespace {

constexpr int kRecipients = 100;
constexpr int kSmokeContacts = 150;
constexpr int kSmokeFolders = 4;
constexpr uint32_t kRecipientSeed = 7;
constexpr int kWarmRounds = 7;
constexpr int kSenderRounds = 21;
constexpr int kFloorRounds = 3;
constexpr DWORD kWatcherWaitMs = 600;
constexpr char kChangedName[] = "Changed Name";

struct Manifest {
    GeneratedBook book;
    std::string groupLink;
};

std::string ManifestPath(const std::string& scratch) { return scratch + "\\manifest.txt"; }

bool WriteManifest(const std::string& scratch, const GeneratedBook& book) {
    std::ofstream out(ManifestPath(scratch), std::ios::binary);
    out << "root " << book.root << "\n" << "indexbytes " << book.indexBytes << "\n";
    for (const std::string& path : book.folderPaths) out << "folder " << path << "\n";
    for (const std::string& path : book.indexPaths) out << "index " << path << "\n";
    for (const std::string& address : book.addresses) out << "address " << address << "\n";
    return static_cast<bool>(out);
}

bool ReadManifest(const std::string& scratch, Manifest* manifest) {
    std::ifstream in(ManifestPath(scratch), std::ios::binary);
    std::string line;
    GeneratedBook& book = manifest->book;
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string key = line.substr(0, space), value = line.substr(space + 1);
        if (key == "root") book.root = value;
        else if (key == "indexbytes") book.indexBytes = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == "folder") book.folderPaths.push_back(value);
        else if (key == "index") book.indexPaths.push_back(value);
        else if (key == "address") book.addresses.push_back(value);
    }
    if (book.folderPaths.empty()) return false;
    // The mail folder is linked to the first folder of the main book.
    const std::string& first = book.folderPaths[0];
    manifest->groupLink = "Main:" + first.substr(first.rfind('\\') + 1);
    return true;
}

void Figure(const char* name, double value) { std::printf("figure %s %.4f\n", name, value); }

int Generate(const std::string& scratch, const BookShape& shape) {
    GeneratedBook book;
    SStopwatch watch;
    if (!GenerateAddressBook(scratch + "\\data", shape, &book) || !WriteManifest(scratch, book)) {
        std::fprintf(stderr, "hostbench: cannot write the address book into %s\n", scratch.c_str());
        return 2;
    }
    std::printf("generated %d contacts in %d folders: %llu files, %llu index bytes, %.1f s\n",
                shape.contacts, shape.folders, static_cast<unsigned long long>(book.files),
                static_cast<unsigned long long>(book.indexBytes), watch.Milliseconds() / 1000);
    return 0;
}

// Adds a record for address at the top of the group folder's index, as the
// user's edit in the host would; *old receives what to put back.
bool ChangeGroupFolder(const std::string& path, const std::string& address, std::string* old,
                       bool* existed) {
    old->clear();
    *existed = false;
    if (std::ifstream in{path, std::ios::binary}) {
        *existed = true;
        old->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string record = "9\t0\tchanged.vcf\t" + std::string(kChangedName) + "\t" + address + "\t0\r\n";
    out << record << *old;
    out.flush();
    return static_cast<bool>(out);
}

// Puts the book back as generated, so that every run sees the same bytes.
void RestoreGroupFolder(const std::string& path, const std::string& old, bool existed) {
    if (!existed) {
        DeleteFileA(path.c_str());
        return;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << old;
}

int Measure(const std::string& scratch, const std::string& dll, bool smoke) {
    Manifest manifest;
    if (!ReadManifest(scratch, &manifest)) {
        std::fprintf(stderr, "hostbench: no manifest in %s (run generate first)\n", scratch.c_str());
        return 2;
    }
    const GeneratedBook& book = manifest.book;
    const std::vector<std::string> recipients = SampleRecipients(book, kRecipients, kRecipientSeed);
    const int warmRounds = smoke ? 2 : kWarmRounds;
    const int senderRounds = smoke ? 3 : kSenderRounds;
    const int floorRounds = smoke ? 1 : kFloorRounds;

    SBenchSession session(scratch);
    std::string why;
    if (!session.SetUp(manifest.groupLink, &why) || !session.Load(dll, &why)) {
        std::fprintf(stderr, "hostbench: %s\n", why.c_str());
        return 2;
    }
    const uint64_t baseline = WorkingSetBytes();

    std::vector<double> walks;
    uint64_t entries = 0;
    const std::vector<std::string> roots = {book.root, session.DataFolder() + "\\CompanyBook"};
    for (int i = 0; i < floorRounds; ++i) walks.push_back(TimeDirectoryWalk(roots, &entries));
    Figure("walk_floor_ms", Median(walks));
    Figure("walk_entries", static_cast<double>(entries));

    SStopwatch watch;
    session.Start();
    Figure("start_ms", watch.Milliseconds());
    session.MenuInit();

    watch.Restart();
    session.ReplyToAll(recipients, false);
    Figure("first_reply_ms", watch.Milliseconds());

    std::vector<double> warm;
    for (int i = 0; i < warmRounds; ++i) {
        watch.Restart();
        session.ReplyToAll(recipients, false);
        warm.push_back(watch.Milliseconds());
    }
    const double warmReply = Median(warm);
    Figure("warm_reply_ms", warmReply);
    Figure("warm_reply_us_per_recipient", 1000 * warmReply / kRecipients);

    session.ReplyToAll(recipients, true);   // reads the cards
    std::vector<double> templated;
    for (int i = 0; i < warmRounds; ++i) {
        watch.Restart();
        session.ReplyToAll(recipients, true);
        templated.push_back(watch.Milliseconds());
    }
    Figure("template_reply_us_per_recipient", 1000 * Median(templated) / kRecipients);

    std::string shown = session.OpenMail(recipients[1]);
    std::vector<double> views;
    for (int i = 0; i < senderRounds; ++i) {
        watch.Restart();
        session.OpenMail(recipients[1]);
        views.push_back(watch.Milliseconds());
    }
    Figure("sender_view_us", 1000 * Median(views));
    std::printf("sender-view %s -> %s\n", recipients[1].c_str(), shown.c_str());

    const uint64_t peak = PeakWorkingSetBytes();
    Figure("memory_added_bytes", static_cast<double>(peak > baseline ? peak - baseline : 0));
    Figure("index_bytes", static_cast<double>(book.indexBytes));

    std::vector<double> reads;
    uint64_t bytes = 0;
    for (int i = 0; i < floorRounds; ++i) reads.push_back(TimeReadFiles(book.indexPaths, &bytes));
    Figure("read_floor_ms", Median(reads));

    const std::string changedPath = book.folderPaths[0] + "\\Group.idx";
    std::string oldIndex;
    bool existed = false;
    if (!ChangeGroupFolder(changedPath, recipients[1], &oldIndex, &existed)) {
        std::fprintf(stderr, "hostbench: cannot change %s\n", changedPath.c_str());
        return 2;
    }
    PumpMessages(kWatcherWaitMs);   // the watcher thread sees the change
    watch.Restart();
    session.ReplyToAll(recipients, false);
    Figure("changed_reply_ms", watch.Milliseconds());
    const std::string* to = TheHost().compose.headers.Find("To");
    const bool seen = to && to->find(kChangedName) != std::string::npos;
    std::vector<double> oneFile;
    for (int i = 0; i < floorRounds + 2; ++i) oneFile.push_back(TimeReadFiles({changedPath}, &bytes));
    Figure("one_file_read_ms", Median(oneFile));
    std::printf("changed folder seen: %s\n", seen ? "yes" : "no");

    session.Exit();
    RestoreGroupFolder(changedPath, oldIndex, existed);
    const bool named = shown != recipients[1];
    if (smoke && (!seen || !named)) {
        std::printf("smoke run FAILED\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    UnmanagedWineWindows();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "generate" && argc == 6) {
        BookShape shape;
        shape.contacts = std::atoi(argv[3]);
        shape.folders = std::atoi(argv[4]);
        shape.seed = static_cast<uint32_t>(std::strtoul(argv[5], nullptr, 10));
        return Generate(argv[2], shape);
    }
    if (mode == "measure" && argc == 4) return Measure(argv[2], argv[3], false);
    if (mode == "smoke" && argc == 4) {
        const int generated = Generate(argv[2], BookShape{kSmokeContacts, kSmokeFolders, 1});
        return generated != 0 ? generated : Measure(argv[2], argv[3], true);
    }
    std::fprintf(stderr,
                 "usage: halyard_hostbench.exe generate SCRATCH CONTACTS FOLDERS SEED\n"
                 "       halyard_hostbench.exe measure SCRATCH DLL\n"
                 "       halyard_hostbench.exe smoke SCRATCH DLL\n");
    return 2;
}
