// Timings of the work that runs while the user waits: looking recipients up
// in a large address book (first lookup in a folder reads its index, later
// ones hit the cache) and scanning a large message for attachment words.
// Run with `make bench`; not part of the tests.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "common/sizes.h"
#include "outgoing/attach_scan.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

constexpr int kFolders = 50;
constexpr int kEntriesPerFolder = 200;
constexpr int kRecipients = 200;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Address(int folder, int entry) {
    return "user" + std::to_string(folder) + "_" + std::to_string(entry) + "@example.com";
}

void WriteAddressBook(const test::TempDir& dir) {
    for (int f = 0; f < kFolders; ++f) {
        std::string index;
        for (int e = 0; e < kEntriesPerFolder; ++e) {
            index += "x\tx\tc" + std::to_string(e) + ".vcf\tPerson " + std::to_string(f) + "-" +
                     std::to_string(e) + "\t" + Address(f, e) + "\tx\r\n";
        }
        test::WriteBytes(dir.Join("AddrBook/@Main/Folder" + std::to_string(f) + "/Group.idx"),
                         index);
    }
}

// A reply to all with recipients spread over every folder, the last ones
// in the last folder (the whole walk).
std::string RecipientList() {
    std::string list;
    for (int i = 0; i < kRecipients; ++i) {
        if (!list.empty()) list += ", ";
        list += Address(i % kFolders, i % kEntriesPerFolder);
    }
    return list;
}

void BenchRewrite() {
    test::TempDir dir;
    WriteAddressBook(dir);
    ChooseCompareAddress(false);
    SSettings settings{SSettings::DefaultsTag{}};
    SHalyardAddrBook book(dir.Join("AddrBook").c_str());
    const std::string list = RecipientList();
    std::vector<char> out(kListSize);

    Clock::time_point start = Clock::now();
    bool ok = RewriteAddressList(list.c_str(), false, "", nullptr, out.data(), out.size(),
                                 settings, &book, nullptr);
    const double cold = MillisecondsSince(start);

    constexpr int kRounds = 20;
    start = Clock::now();
    for (int i = 0; i < kRounds; ++i)
        ok = RewriteAddressList(list.c_str(), false, "", nullptr, out.data(), out.size(),
                                settings, &book, nullptr) && ok;
    const double warm = MillisecondsSince(start) / kRounds;
    std::printf("rewrite %d recipients over %d folders x %d entries: first %.1f ms, cached %.1f ms%s\n",
                kRecipients, kFolders, kEntriesPerFolder, cold, warm, ok ? "" : " (FAILED)");
}

void BenchAttachScan() {
    std::string text;
    while (text.size() < 4u * 1024 * 1024)
        text += "> quoted line that mentions the attached file\r\n"
                "a plain line of the reply with nothing special in it at all\r\n";
    const std::vector<std::string> words = {"attached", "attach", "send"};
    Clock::time_point start = Clock::now();
    const bool found = FindAttachWordIn(text, words, "> ", false);
    std::printf("attachment scan of %.1f MiB: %.1f ms (found: %s)\n",
                text.size() / (1024.0 * 1024.0), MillisecondsSince(start), found ? "yes" : "no");
}

}  // namespace

int main() {
    BenchRewrite();
    BenchAttachScan();
    return 0;
}
