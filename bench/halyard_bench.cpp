// The address look-ups of a reply natively, on the generated books the host
// benchmark uses, small and large side by side: a quick check and something
// to run under a profiler (valgrind --tool=callgrind). The figures that
// count are the host benchmark's under Wine (bench/run-wine).
//   halyard_bench [CONTACTSxFOLDERS ...]   (default: 100x1 100000x1000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "bench/book_generator.h"
#include "common/sizes.h"
#include "outgoing/attach_scan.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

constexpr int kRecipients = 100;
constexpr uint32_t kRecipientSeed = 7;
constexpr int kWarmUps = 2;
constexpr int kRounds = 15;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename Work>
double MedianMilliseconds(Work work) {
    for (int i = 0; i < kWarmUps; ++i) work();
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(MillisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Figures {
    double first = 0, warm = 0, cards = 0;
};

Figures Measure(const BookShape& shape) {
    test::TempDir dir;
    GeneratedBook generated;
    if (!GenerateAddressBook(dir.Path(), shape, &generated)) {
        std::fprintf(stderr, "halyard_bench: cannot write the book\n");
        std::exit(1);
    }
    const std::vector<std::string> recipients = SampleRecipients(generated, kRecipients, kRecipientSeed);
    std::string list;
    for (const std::string& address : recipients) list += (list.empty() ? "" : ", ") + address;
    const std::string group = generated.folderPaths.front();

    ChooseCompareAddress(false);
    SSettings settings{SSettings::DefaultsTag{}};
    SHalyardAddrBook book(generated.root.c_str());
    std::vector<char> out(kListSize);
    auto rewrite = [&] {
        RewriteAddressList(list.c_str(), false, group.c_str(), nullptr, out.data(), out.size(),
                           settings, &book, nullptr);
    };
    Figures figures;
    const Clock::time_point start = Clock::now();
    rewrite();
    figures.first = MillisecondsSince(start);
    figures.warm = MedianMilliseconds(rewrite);
    figures.cards = MedianMilliseconds([&] {
        for (const std::string& address : recipients) {
            const std::unique_ptr<SVcardItem> item = book.FindCard(address.c_str(), group.c_str());
        }
    });
    return figures;
}

void BenchAttachScan() {
    std::string text;
    while (text.size() < 4u * 1024 * 1024)
        text += "> quoted line that mentions the attached file\r\n"
                "a plain line of the reply with nothing special in it at all\r\n";
    const std::vector<std::string> words = {"attached", "attach", "send"};
    const Clock::time_point start = Clock::now();
    const bool found = FindAttachWordIn(text, words, "> ", false);
    std::printf("attachment scan of %.1f MiB: %.1f ms (found: %s)\n",
                text.size() / (1024.0 * 1024.0), MillisecondsSince(start), found ? "yes" : "no");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> sizes(argv + 1, argv + argc);
    if (sizes.empty()) sizes = {"100x1", "100000x1000"};
    std::printf("%-12s %12s %12s %16s  (%d recipients; medians of %d)\n", "book", "first ms",
                "warm ms", "card look-ups ms", kRecipients, kRounds);
    for (const std::string& size : sizes) {
        BookShape shape;
        shape.contacts = std::atoi(size.c_str());
        const size_t x = size.find('x');
        shape.folders = x == std::string::npos ? 1 : std::atoi(size.c_str() + x + 1);
        const Figures figures = Measure(shape);
        std::printf("%-12s %12.2f %12.3f %16.3f\n", size.c_str(), figures.first, figures.warm,
                    figures.cards);
    }
    BenchAttachScan();
    return 0;
}
