// The plug-in's work while the user waits, timed inside the headless host
// under Wine (QueryPerformanceCounter) against floors taken in the same
// process:
//   halyard_hostbench.exe measure SCRATCH DLL
//   halyard_hostbench.exe smoke SCRATCH DLL
// "measure" reads the book that bench/run-wine generated into SCRATCH\data
// (SCRATCH\manifest.txt describes it), loads DLL as the host does and
// prints "figure NAME VALUE" lines; bench/run-wine takes medians over
// separate processes, since start and the first reply happen once in each.
// "smoke" generates a small book itself, runs fewer rounds, and fails when
// the plug-in's answers are wrong.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
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
#include "message_boxes.h"
#include "resources/dialog_ids.h"

namespace {

constexpr int kRecipients = 100;
constexpr int kSmokeContacts = 150;
constexpr int kSmokeFolders = 4;
constexpr uint32_t kRecipientSeed = 7;
constexpr int kWarmUps = 2;
constexpr int kRounds = 15;
constexpr int kSenderRounds = 21;
constexpr int kFloorRounds = 5;
// Change, put back, change, put back: the book ends as generated.
constexpr int kChanges = 4;
constexpr DWORD kWatcherWaitMs = 600;
constexpr char kChangedName[] = "Changed Name";
constexpr DWORD kIdleWaitMs = 20000;

struct Rounds {
    int warmUps, rounds, senderRounds, floorRounds, changes;
};
constexpr Rounds kFull{kWarmUps, kRounds, kSenderRounds, kFloorRounds, kChanges};
constexpr Rounds kSmoke{1, 2, 3, 1, 2};

void Figure(const char* name, double value) { std::printf("figure %s %.4f\n", name, value); }

// The median time of work in milliseconds, after warm-ups.
template <typename Work>
double MedianOf(int warmUps, int rounds, Work work) {
    for (int i = 0; i < warmUps; ++i) work();
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        SStopwatch watch;
        work();
        times.push_back(watch.Milliseconds());
    }
    return Median(times);
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// The mail folder is linked to the first folder of the main book.
std::string GroupLink(const GeneratedBook& book) {
    const std::string& first = book.folderPaths[0];
    return "Main:" + first.substr(first.rfind('\\') + 1);
}

// The send check's dialog, timed from the call of BKC_OnOutgoing until it is
// shown and painted whole, then cancelled. The host's box hook hands the
// dialog over right after its activation, before it shows; its message
// loop tells the owner it is idle (WM_ENTERIDLE) once it has shown it and
// emptied its queue, paints included.
struct SendCheckTiming {
    const SStopwatch* watch = nullptr;
    HWND dialog = nullptr;
    double shownMs = 0;
    int rows = 0;
    bool shown = false;
};
SendCheckTiming g_sendCheck;

constexpr UINT kSendCheckGiveUpMs = 5000;

// A dialog whose loop never idles is closed all the same; its round counts
// as not shown.
void CALLBACK GiveUp(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    KillTimer(dialog, timer);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

bool ClaimSendCheck(HWND dialog) {
    if (!GetDlgItem(dialog, IDC_SEND_CHECK_LIST) || !g_sendCheck.watch) return false;
    g_sendCheck.dialog = dialog;
    SetTimer(dialog, 1, kSendCheckGiveUpMs, GiveUp);
    return true;
}

// The owner's window procedure while the send check is timed: a hook would
// put a round trip to the system into every message the dialog sends, and
// slow down what it times.
WNDPROC g_ownerProc = nullptr;

LRESULT CALLBACK WatchIdle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = g_sendCheck.dialog;
    if (message == WM_ENTERIDLE && dialog && !g_sendCheck.shown &&
        reinterpret_cast<HWND>(lParam) == dialog && IsWindowVisible(dialog)) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        g_sendCheck.shownMs = g_sendCheck.watch->Milliseconds();
        g_sendCheck.rows = static_cast<int>(
            SendMessageW(GetDlgItem(dialog, IDC_SEND_CHECK_LIST), LVM_GETITEMCOUNT, 0, 0));
        g_sendCheck.shown = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return CallWindowProcW(g_ownerProc, window, message, wParam, lParam);
}

// A second start with the send check on: the figures above are the
// plug-in's with it off, as users have it by default. Each round opens the
// reply to all, then sends it. False when a dialog did not list every
// recipient.
bool MeasureSendCheck(SBenchSession& session, const std::string& dll,
                      const std::vector<std::string>& recipients, const Rounds& n, int* status) {
    std::string why;
    if (!session.EnableSendCheck() || !session.Load(dll, &why)) {
        std::fprintf(stderr, "hostbench: %s\n", why.empty() ? "cannot switch the send check on" : why.c_str());
        *status = 2;
        return false;
    }
    session.Start();
    WaitUntilIdle(kIdleWaitMs);
    std::vector<std::string> folded;
    for (std::string address : recipients) {
        for (char& c : address) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (std::find(folded.begin(), folded.end(), address) == folded.end()) folded.push_back(address);
    }
    const int distinct = static_cast<int>(folded.size());
    SetDialogHandler(ClaimSendCheck);
    HWND owner = TheHost().compose.window;
    g_ownerProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchIdle)));
    std::vector<double> times;
    bool right = true;
    for (int i = 0; i < n.warmUps + n.rounds; ++i) {
        session.ReplyToAll(recipients, false);
        g_sendCheck = SendCheckTiming{};
        SStopwatch watch;
        g_sendCheck.watch = &watch;
        const int answer = session.SendFromCompose();
        g_sendCheck.watch = nullptr;
        // One row a recipient (letter case ignored), and a title a domain besides.
        right = right && answer == -1 && g_sendCheck.shown && g_sendCheck.rows > distinct;
        if (i >= n.warmUps && g_sendCheck.shown) times.push_back(g_sendCheck.shownMs);
    }
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownerProc));
    SetDialogHandler(nullptr);
    Figure("send_check_ms", times.empty() ? 0 : Median(times));
    session.Exit();
    return right;
}

bool ShowsChangedName() {
    const std::string* to = TheHost().compose.headers.Find("To");
    const std::string* cc = TheHost().compose.headers.Find("Cc");
    return (to && to->find(kChangedName) != std::string::npos) ||
           (cc && cc->find(kChangedName) != std::string::npos);
}

// Prints the figures of one run; bench/run-wine takes medians over runs.
// False when the plug-in's answers are wrong.
bool Measure(const std::string& scratch, const GeneratedBook& book, const std::string& dll,
             const Rounds& n, int* status) {
    const std::vector<std::string> recipients = SampleRecipients(book, kRecipients, kRecipientSeed);
    SBenchSession session(scratch);
    std::string why;
    if (!session.SetUp(GroupLink(book), &why) || !session.Load(dll, &why)) {
        std::fprintf(stderr, "hostbench: %s\n", why.c_str());
        *status = 2;
        return false;
    }

    // The floors, each after a warm-up, as warm as the plug-in will find the files.
    uint64_t entries = 0, bytes = 0;
    const std::vector<std::string> roots = {book.root, session.DataFolder() + "\\CompanyBook"};
    auto walk = [&] { TimeDirectoryWalk(roots, &entries); };
    auto read = [&] { TimeReadFiles(book.indexPaths, &bytes); };
    Figure("walk_floor_ms", MedianOf(1, n.floorRounds, walk));
    Figure("walk_entries", static_cast<double>(entries));
    Figure("read_floor_ms", MedianOf(1, n.floorRounds, read));
    Figure("index_bytes", static_cast<double>(bytes));
    const uint64_t heapBefore = HeapBytesInUse();

    auto reply = [&] { session.ReplyToAll(recipients, false); };
    auto templated = [&] { session.ReplyToAll(recipients, true); };
    std::string shown;
    auto view = [&] { shown = session.OpenMail(recipients[1]); };

    SStopwatch watch;
    session.Start();
    Figure("start_ms", watch.Milliseconds());
    SStopwatch sinceStart;
    session.MenuInit();

    watch.Restart();
    reply();
    Figure("first_reply_ms", watch.Milliseconds());
    const std::string* named = TheHost().compose.headers.Find("Cc");
    const bool rewritten = named && named->find('<') != std::string::npos;
    // Replies while what start left to the plug-in's threads still runs
    // (the watcher lists the whole book once); the warm figures come after.
    Figure("busy_reply_ms", MedianOf(0, n.rounds, reply));
    WaitUntilIdle(kIdleWaitMs);
    Figure("busy_after_start_ms", sinceStart.Milliseconds());

    Figure("warm_reply_ms", MedianOf(n.warmUps, n.rounds, reply));
    Figure("template_reply_ms", MedianOf(n.warmUps, n.rounds, templated));
    Figure("sender_view_ms", MedianOf(n.warmUps, n.senderRounds, view));

    // What the index, its cards and the plug-in's buffers hold after use.
    const uint64_t heapAfter = HeapBytesInUse();
    Figure("held_bytes", static_cast<double>(heapAfter > heapBefore ? heapAfter - heapBefore : 0));

    // One folder changed as the host's edit would, then put back, each time
    // followed by a reply once the watcher has had time to see it.
    const std::string changedPath = book.folderPaths[0] + "\\Group.idx";
    const std::string original = ReadWhole(changedPath);
    const std::string changed = "9\t0\tchanged.vcf\t" + std::string(kChangedName) + "\t" +
                                recipients[1] + "\t0\r\n" + original;
    std::vector<double> changedReplies;
    int seen = 0;
    for (int i = 0; i < n.changes; ++i) {
        const bool add = i % 2 == 0;
        if (!WriteWhole(changedPath, add ? changed : original)) {
            std::fprintf(stderr, "hostbench: cannot change %s\n", changedPath.c_str());
            *status = 2;
            return false;
        }
        PumpMessages(kWatcherWaitMs);
        watch.Restart();
        reply();
        changedReplies.push_back(watch.Milliseconds());
        if (ShowsChangedName() == add) ++seen;
    }
    Figure("changed_reply_ms", Median(changedReplies));
    auto readOne = [&] { TimeReadFiles({changedPath}, &bytes); };
    Figure("one_file_read_ms", MedianOf(1, n.floorRounds, readOne));
    Figure("changes_seen", seen);
    Figure("changes_made", n.changes);
    session.Exit();
    WriteWhole(changedPath, original);
    const bool checked = MeasureSendCheck(session, dll, recipients, n, status);
    if (*status != 0) return false;
    return rewritten && shown != recipients[1] && seen == n.changes && checked;
}

int MeasureBook(const std::string& scratch, const std::string& dll) {
    GeneratedBook book;
    if (!ReadBookManifest(scratch + "\\manifest.txt", scratch + "\\data", &book)) {
        std::fprintf(stderr, "hostbench: no manifest in %s (bench/run-wine writes it)\n",
                     scratch.c_str());
        return 2;
    }
    int status = 0;
    const bool right = Measure(scratch, book, dll, kFull, &status);
    if (status == 0) Figure("answers_wrong", right ? 0 : 1);
    return status;
}

// A small book generated here, a short run, and the answers checked.
int Smoke(const std::string& scratch, const std::string& dll) {
    GeneratedBook book;
    if (!GenerateAddressBook(scratch + "\\data", BookShape{kSmokeContacts, kSmokeFolders, 1}, &book)) {
        std::fprintf(stderr, "hostbench: cannot write the address book into %s\n", scratch.c_str());
        return 2;
    }
    int status = 0;
    if (Measure(scratch, book, dll, kSmoke, &status)) return 0;
    std::printf("smoke run FAILED\n");
    return status != 0 ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    UnmanagedWineWindows();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "measure" && argc == 4) return MeasureBook(argv[2], argv[3]);
    if (mode == "smoke" && argc == 4) return Smoke(argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: halyard_hostbench.exe measure SCRATCH DLL\n"
                 "       halyard_hostbench.exe smoke SCRATCH DLL\n");
    return 2;
}
