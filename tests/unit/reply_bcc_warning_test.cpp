#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "reply/bcc_warning.h"
#include "reply/open_compose.h"
#include "resources/string_ids.h"
#include "support/fake_host.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"

using fakehost::Compose;
using fakehost::Fake;
using fakehost::Window;
using platform::testing::TakeShownBoxes;

namespace {

// A reply to all on a mail from Ann to Bob with Carol in Cc: the user
// (me@example.org) is in neither, so the mail came as a blind copy.
class BlindCopyWarning : public fakehost::ReplyTest {
protected:
    void SetUp() override {
        ReplyTest::SetUp();
        platform::testing::SetResString(kStrBlindCopyText, "blind copy?");
        platform::testing::SetResString(kStrBlindCopyCaption, "Confirm the recipients");
        Settings().bccReplyAll = true;
        Fake().mail["From"] = "Ann <ann@example.com>";
        Fake().mail["To"] = "bob@example.com";
        Fake().mail["Cc"] = "carol@example.net";
        Fake().compose["From"] = "me@example.org";
        Fake().compose["To"] = "Ann <ann@example.com>";
        Fake().compose["Cc"] = "bob@example.com, carol@example.net";
        TakeShownBoxes();
    }
    void OpenReplyAll() { OnOpenCompose(scope.work, nullptr, Window(), 6); }
    // Whether exactly one blind-copy question was asked.
    bool Asked() {
        const std::vector<platform::testing::ShownBox> boxes = TakeShownBoxes();
        if (boxes.size() != 1) return false;
        const unsigned expected =
            platform::kMbYesNo | platform::kMbIconQuestion | platform::kMbDefaultSecond;
        return boxes[0].text == "blind copy?" && boxes[0].caption == "Confirm the recipients" &&
               boxes[0].flags == expected;
    }
};

TEST_F(BlindCopyWarning, NoMakesItAReplyToTheSenderYesKeepsTheReplyToAll) {
    platform::testing::QueueMessageBoxAnswer(platform::kIdNo);
    OpenReplyAll();
    EXPECT_TRUE(Asked());
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>");
    EXPECT_EQ(Compose("Cc"), "");

    SetUp();
    platform::testing::QueueMessageBoxAnswer(platform::kIdYes);
    OpenReplyAll();
    EXPECT_TRUE(Asked());
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>");
    EXPECT_EQ(Compose("Cc"), "carol@example.net");
}

TEST_F(BlindCopyWarning, ReplyToOfTheBaseMailIsWhomTheSenderOnlyReplyAnswers) {
    Fake().mail["Reply-To"] = "desk@example.com";
    platform::testing::QueueMessageBoxAnswer(platform::kIdNo);
    OpenReplyAll();
    EXPECT_TRUE(Asked());
    EXPECT_EQ(Compose("To"), "desk@example.com");
    EXPECT_EQ(Compose("Cc"), "");
}

TEST_F(BlindCopyWarning, NoQuestionWhereNothingIsRevealed) {
    struct Case {
        const char* what;
        const char* header;
        const char* value;
    };
    const Case cases[] = {
        {"own address in Cc, other letter case", "Cc", "carol@example.net, Me <ME@example.org>"},
        {"own address in To", "To", "bob@example.com,me@example.org"},
        {"a list sent it (List-Id)", "List-Id", "<team.example.com>"},
        {"a list sent it (List-Post)", "List-Post", "<mailto:team@example.com>"},
        {"the user's own mail", "From", "Me <me@example.org>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        Fake().mail[c.header] = c.value;
        OpenReplyAll();
        EXPECT_TRUE(TakeShownBoxes().empty());
    }
}

TEST_F(BlindCopyWarning, OffByDefaultSkippedWithControlAndWithoutAKnownOwnAddress) {
    Settings().bccReplyAll = false;
    OpenReplyAll();
    EXPECT_TRUE(TakeShownBoxes().empty());
    EXPECT_EQ(Compose("Cc"), "carol@example.net");

    SetUp();
    platform::testing::SetControlKeyDown(true);
    OpenReplyAll();
    platform::testing::SetControlKeyDown(false);
    EXPECT_TRUE(TakeShownBoxes().empty());

    // A mailbox without an address cannot tell a blind copy from anything else.
    SetUp();
    Write("1234.mb/MailBox.ini", "[Account]\r\n");
    OpenReplyAll();
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST_F(BlindCopyWarning, ACutRecipientListIsNoGroundToAsk) {
    // The own address may stand beyond what the buffer held.
    Fake().mail["Cc"] = std::string(70000, 'x') + "@example.net, me@example.org";
    OpenReplyAll();
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST(BlindCopyRule, OwnAddressSenderRecipientsAndLists) {
    const std::vector<std::string> visible = {"bob@example.com", "carol@example.net"};
    EXPECT_TRUE(MayRevealBlindCopy("me@example.org", "ann@example.com", visible, false));
    EXPECT_FALSE(MayRevealBlindCopy("me@example.org", "ann@example.com", visible, true));
    EXPECT_FALSE(MayRevealBlindCopy("", "ann@example.com", visible, false));
    EXPECT_FALSE(MayRevealBlindCopy("BOB@example.com", "ann@example.com", visible, false));
    EXPECT_FALSE(MayRevealBlindCopy("Ann@Example.com", "ann@example.com", visible, false));
    EXPECT_TRUE(MayRevealBlindCopy("me@example.org", "ann@example.com", {}, false));
}

}  // namespace

#endif  // !_WIN32
