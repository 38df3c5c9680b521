#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/sizes.h"
#include "common/text.h"
#include "reply/open_compose.h"
#include "support/fake_host.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

using fakehost::Compose;
using fakehost::Fake;
using fakehost::Window;

namespace {

constexpr const char* kSixHeaders[] = {"To", "Cc", "Bcc", "Resent-To", "Resent-Cc", "Resent-Bcc"};

class ReplyOpenCompose : public fakehost::ReplyTest {
protected:
    // Every recipient header filled, so that a rewriting answers true.
    void FillAll() {
        for (const char* header : kSixHeaders) Fake().compose[header] = "bob@example.com";
    }
    bool AllRewritten() {
        for (const char* header : kSixHeaders)
            if (Compose(header) != "Bob Jones <bob@example.com>") return false;
        return true;
    }
};

// The X-Mailer-Plugin value after marking old with the name and version the
// fixture's work carries.
std::string Marked(const std::string& old) {
    return old.empty() ? "Halyard 4.1.3.0" : old + ", Halyard 4.1.3.0";
}

}  // namespace

TEST_F(ReplyOpenCompose, NothingWithoutASettingsObject) {
    scope.work.settings = nullptr;
    FillAll();
    EXPECT_EQ(OnOpenCompose(scope.work, nullptr, Window(), 5), 0);
    EXPECT_TRUE(Fake().written.empty());
    EXPECT_EQ(Fake().windowHandleCalls, 0);
}

TEST_F(ReplyOpenCompose, ModesThatRewriteAndModesThatDoNothing) {
    for (int mode : {0, 1, 2, 5, 7}) {
        SCOPED_TRACE(mode);
        FillAll();
        Fake().compose["X-Mailer-Plugin"] = "";
        EXPECT_EQ(OnOpenCompose(scope.work, nullptr, Window(), mode), 0);
        EXPECT_TRUE(AllRewritten());
        EXPECT_EQ(Compose("X-Mailer-Plugin"), Marked(""));
    }
    for (int mode : {3, 4, 8, 10, 11, 12, -1}) {
        SCOPED_TRACE(mode);
        FillAll();
        Fake().written.clear();
        Fake().windowHandleCalls = 0;
        EXPECT_EQ(OnOpenCompose(scope.work, nullptr, Window(), mode), 0);
        EXPECT_TRUE(Fake().written.empty());
        EXPECT_EQ(Fake().windowHandleCalls, 1);
    }
}

TEST_F(ReplyOpenCompose, TheMarkNeedsEveryHeaderRewrittenOrAnArrangement) {
    // Only To filled: the rewriting answers false, no mark.
    Fake().compose["To"] = "bob@example.com";
    OnOpenCompose(scope.work, nullptr, Window(), 5);
    EXPECT_EQ(Compose("To"), "Bob Jones <bob@example.com>");
    EXPECT_EQ(Compose("X-Mailer-Plugin"), "");

    // A reply to all whose arrangement wrote To and Cc is marked.
    Fake().mail["From"] = "Ann <ann@example.com>";
    Fake().mail["To"] = "me@example.org, bob@example.com";
    Fake().compose["From"] = "me@example.org";
    Fake().compose["To"] = "Ann <ann@example.com>";
    Fake().compose["Cc"] = "bob@example.com";
    Fake().compose["X-Mailer-Plugin"] = "Other/1.0";
    OnOpenCompose(scope.work, nullptr, Window(), 6);
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>");
    EXPECT_EQ(Compose("Cc"), "");
    EXPECT_EQ(Compose("X-Mailer-Plugin"), Marked("Other/1.0"));

    // A mark that names the plug-in already stays; so does everything with
    // the option off.
    Fake().compose["X-Mailer-Plugin"] = "Halyard 4.1.4.0";
    FillAll();
    OnOpenCompose(scope.work, nullptr, Window(), 5);
    EXPECT_EQ(Compose("X-Mailer-Plugin"), "Halyard 4.1.4.0");
    Settings().addPluginHeader = false;
    Fake().compose["X-Mailer-Plugin"] = "";
    FillAll();
    OnOpenCompose(scope.work, nullptr, Window(), 5);
    EXPECT_TRUE(AllRewritten());
    EXPECT_EQ(Compose("X-Mailer-Plugin"), "");
}

TEST_F(ReplyOpenCompose, TwoHundredRecipientsPassWhole) {
    std::string to, cc, expectedTo, expectedCc;
    Fake().mail["From"] = "Ann <ann@example.com>";
    for (int i = 0; i < 100; ++i) {
        const std::string t = "Person " + std::to_string(i) + " <to" + std::to_string(i) + "@example.net>";
        const std::string c = "cc" + std::to_string(i) + "@example.net";
        to += (i ? ", " : "") + t;
        cc += (i ? ",\r\n " : "") + c;
        expectedTo += "," + t;
        expectedCc += (i ? "," : "") + c;
    }
    Fake().mail["To"] = to;
    Fake().compose["From"] = "me@example.org";
    Fake().compose["To"] = "Ann <ann@example.com>";
    Fake().compose["Cc"] = to + ", " + cc;
    Settings().reportSwitch = true;
    CopyBounded(Settings().reportFile, kPathSize, dir.Join("NOENTRY.txt"));
    OnOpenCompose(scope.work, nullptr, Window(), 6);
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>" + expectedTo);
    EXPECT_EQ(Compose("Cc"), expectedCc);
    EXPECT_EQ(Fake().liveTexts, 0);
    const std::string report = test::ReadBytes(dir.Join("NOENTRY.txt"));
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 200);
#if !defined(_WIN32)
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());
#endif
}

#if !defined(_WIN32)

TEST_F(ReplyOpenCompose, ControlKeySkipsRecipientsOnlyWhenAsked) {
    platform::testing::SetControlKeyDown(true);
    Fake().mail["From"] = "Ann <ann@example.com>";
    Fake().mail["To"] = "me@example.org, bob@example.com";
    Fake().compose["From"] = "me@example.org";
    Fake().compose["To"] = "Ann <ann@example.com>";
    Fake().compose["Cc"] = "bob@example.com";
    OnOpenCompose(scope.work, nullptr, Window(), 6);
    EXPECT_TRUE(Fake().written.empty());

    Settings().ctrlNoEffect = false;
    OnOpenCompose(scope.work, nullptr, Window(), 6);
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>");
}

TEST_F(ReplyOpenCompose, TheHostsAddressFormatIsReadForEveryWindow) {
    Settings().replyFormat = 0;
    Fake().compose["To"] = "bob@example.com";
    platform::testing::SetHostKeyExists(true);
    platform::testing::SetHostValue("AddrInputFmt", platform::testing::DwordValue(1));
    OnOpenCompose(scope.work, nullptr, Window(), 5);
    EXPECT_EQ(Compose("To"), "bob@example.com (Bob Jones)");
    platform::testing::SetHostValue("AddrInputFmt", platform::testing::DwordValue(2));
    Fake().compose["To"] = "bob@example.com";
    OnOpenCompose(scope.work, nullptr, Window(), 5);
    EXPECT_EQ(Compose("To"), "bob@example.com");
}

TEST_F(ReplyOpenCompose, AnUnwritableReportShowsMessageOneAndTheReplyGoesOn) {
    platform::testing::SetResString(1, "Cannot open file");
    Settings().reportSwitch = true;
    CopyBounded(Settings().reportFile, kPathSize, dir.Join("missing/folder/NOENTRY.txt"));
    Fake().compose["To"] = "Zed <zed@example.net>, bob@example.com";
    OnOpenCompose(scope.work, nullptr, Window(), 5);
    EXPECT_EQ(Compose("To"), "Zed <zed@example.net>,Bob Jones <bob@example.com>");
    const auto boxes = platform::testing::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Cannot open file");
    EXPECT_EQ(boxes[0].caption, "Halyard");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].flags, platform::kMbIconWarning);
}

#endif
