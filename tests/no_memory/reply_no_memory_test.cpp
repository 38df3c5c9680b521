// A reply to all in a host short of memory: every allocation of the reply
// fails in turn, and each run must end calmly, as the entry points run it,
// with the window either as it was or as a whole reply leaves it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "common/entry_gate.h"
#include "common/platform_testing.h"
#include "reply/open_compose.h"
#include "resources/string_ids.h"
#include "support/fake_host.h"
#include "template/extend_template.h"

// The allocation functions of this program. Armed with N, the Nth
// allocation from then on fails, once.
namespace {

std::atomic<long> g_countdown{0};
std::atomic<bool> g_failed{false};

void* Allocate(std::size_t size) {
    if (g_countdown.load() > 0 && g_countdown.fetch_sub(1) == 1) {
        g_failed = true;
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}

void* AllocateOrThrow(std::size_t size) {
    void* block = Allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

using fakehost::Compose;
using fakehost::Fake;

namespace {

constexpr int kReplyAll = 6;
constexpr long kMostAllocations = 20000;   // a reply needs far fewer
constexpr const char* kNoMemoryText = "Too few memory for work";
constexpr const char* kNoMemoryForReportText = "Too few memory for report";

const char* const kBody = "Dear $t($n, ),\r\n";
const char* const kTo = "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>";
const char* const kCc = "zed@example.net";
const char* const kWrittenBody = "Dear Ann Smith, Bob Jones,\r\n";

class ReplyWithoutMemory : public fakehost::ReplyTest {
protected:
    void SetUp() override {
        fakehost::ReplyTest::SetUp();
        platform::testing::SetResString(kStrNoMemoryForWork, kNoMemoryText);
        platform::testing::SetResString(kStrNoMemoryForReport, kNoMemoryForReportText);
        SSettings& s = Settings();
        s.selfExclude = true;
        s.serializeRcpts = true;
        s.extendTemplate = true;
        s.reportSwitch = true;
        const std::string report = dir.Path() + "/NOENTRY.txt";
        std::snprintf(s.reportFile, sizeof s.reportFile, "%s", report.c_str());
        window = scope.NewWindow();
    }

    // The compose window as the host opens a reply to all to Ann.
    void OpenWindow() {
        Fake().compose.clear();
        Fake().compose["From"] = "me@example.org";
        Fake().compose["To"] = "ann@example.com";
        Fake().compose["Cc"] = "me@example.org, bob@example.com, zed@example.net";
        Fake().body = kBody;
        Fake().mail["From"] = "Ann <ann@example.com>";
        Fake().mail["To"] = "me@example.org, bob@example.com";
        Fake().mail["Cc"] = "zed@example.net";
        Fake().liveTexts = 0;
        platform::testing::TakeShownBoxes();
    }

    // BKC_OnOpenCompose as the entry point runs it.
    int Reply() {
        return RunHostCall(gate, window, [&] {
            return OnOpenCompose(scope.work, &templates, window, kReplyAll);
        });
    }

    EntryGate gate{nullptr};
    SExtendTemplate templates;
    HostWindow window = nullptr;
};

}  // namespace

TEST_F(ReplyWithoutMemory, EveryAllocationFailedInTurnEndsCalmly) {
    OpenWindow();
    ASSERT_EQ(Reply(), 0);
    ASSERT_EQ(Compose("To"), kTo);
    ASSERT_EQ(Compose("Cc"), kCc);
    ASSERT_EQ(Fake().body, kWrittenBody);
    templates.ForgetWindow(window);

    long failing = 1;
    for (; failing <= kMostAllocations; ++failing) {
        SCOPED_TRACE("allocation " + std::to_string(failing) + " failed");
        OpenWindow();
        g_failed = false;
        g_countdown = failing;
        const int answer = Reply();
        g_countdown = 0;
        if (!g_failed) break;   // the reply needs fewer: every one has failed

        EXPECT_EQ(answer, 0);
        EXPECT_EQ(gate.Depth(), 0);
        // Host texts are freed on every way out.
        EXPECT_EQ(Fake().liveTexts, 0);
        // Each header is as the host opened it or as a whole step left it;
        // never cut or mixed.
        const std::string to = Compose("To");
        EXPECT_TRUE(to == "ann@example.com" || to == "Ann <ann@example.com>,bob@example.com" ||
                    to == kTo)
            << to;
        const std::string cc = Compose("Cc");
        EXPECT_TRUE(cc == "me@example.org, bob@example.com, zed@example.net" ||
                    cc == "me@example.org,zed@example.net" || cc == kCc)
            << cc;
        EXPECT_TRUE(Fake().body == kBody || Fake().body == kWrittenBody) << Fake().body;
        // At most the one box that tells of the lack of memory: the
        // report's own, or the one of the work.
        const auto boxes = platform::testing::TakeShownBoxes();
        EXPECT_LE(boxes.size(), 1u);
        for (const auto& box : boxes)
            EXPECT_TRUE(box.text == kNoMemoryText || box.text == kNoMemoryForReportText) << box.text;
        if (HasFailure()) break;

        // Nothing is left half-used: the next reply is whole.
        templates.ForgetWindow(window);
        OpenWindow();
        EXPECT_EQ(Reply(), 0);
        EXPECT_EQ(Compose("To"), kTo);
        EXPECT_EQ(Compose("Cc"), kCc);
        EXPECT_EQ(Fake().body, kWrittenBody);
        templates.ForgetWindow(window);
        if (HasFailure()) break;
    }
    RecordProperty("allocations", static_cast<int>(failing - 1));
    EXPECT_GT(failing, 1);   // the reply allocates at all
    EXPECT_LE(failing, kMostAllocations);
}
