#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reply/warnings.h"
#include "support/fake_host.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

using fakehost::Fake;
using fakehost::FakeHostScope;
using fakehost::Window;

namespace {

// A reply to Sam's mail as the host opens it: To is the sender, From the user.
void ReplyToSam(const std::string& baseTo, const std::string& baseCc) {
    Fake().mail["From"] = "Sam <sam@example.com>";
    Fake().mail["To"] = baseTo;
    Fake().mail["Cc"] = baseCc;
    Fake().compose["To"] = "Sam <sam@example.com>";
    Fake().compose["From"] = "Me <me@example.org>";
}

}  // namespace

TEST(SingleReplyWarning, DueOnlyWhenOthersGotTheBaseMail) {
    FakeHostScope scope;

    ReplyToSam("me@example.org", "");
    EXPECT_FALSE(CheckSingleReply(scope.work, Window()));
    // Nobody besides the sender and the user, in any letter case.
    ReplyToSam("Me <ME@Example.org>, sam@example.com", "SAM@example.com");
    EXPECT_FALSE(CheckSingleReply(scope.work, Window()));

    ReplyToSam("me@example.org, Bob <bob@example.net>", "");
    EXPECT_TRUE(CheckSingleReply(scope.work, Window()));
    ReplyToSam("me@example.org", "carol@example.net");
    EXPECT_TRUE(CheckSingleReply(scope.work, Window()));
    ReplyToSam("", "Me <me@example.org>; dora@example.net");
    EXPECT_TRUE(CheckSingleReply(scope.work, Window()));
    // Entries without an address are nobody.
    ReplyToSam("me@example.org, \"Nameless\" <>", "");
    EXPECT_FALSE(CheckSingleReply(scope.work, Window()));
}

// The rest answers message boxes and holds the Control key through the
// platform stand-in, which exists natively only.
#if !defined(_WIN32)

TEST(SingleReplyWarning, ControlKeyAndSettings) {
    FakeHostScope scope;
    ReplyToSam("me@example.org, bob@example.net", "");
    ASSERT_TRUE(CheckSingleReply(scope.work, Window()));

    // Control held: never, whatever CtrlNoEffect says.
    scope.Settings().ctrlNoEffect = false;
    platform::testing::SetControlKeyDown(true);
    EXPECT_FALSE(CheckSingleReply(scope.work, Window()));
    scope.Settings().ctrlNoEffect = true;
    EXPECT_FALSE(CheckSingleReply(scope.work, Window()));
    platform::testing::SetControlKeyDown(false);

    scope.Settings().singleWarning = false;
    EXPECT_FALSE(CheckSingleReply(scope.work, Window()));
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());
}

TEST(SubjectWarning, BarePrefixAsksAndCancelStops) {
    FakeHostScope scope;
    platform::testing::SetResString(36, "subject text");
    platform::testing::SetResString(37, "subject caption");

    Fake().compose["Subject"] = "  re:  ";
    platform::testing::QueueMessageBoxAnswer(platform::kIdCancel);
    EXPECT_EQ(CheckReplySubject(scope.work, Window()), -1);
    platform::testing::QueueMessageBoxAnswer(platform::kIdOk);
    EXPECT_EQ(CheckReplySubject(scope.work, Window()), 0);
    const std::vector<platform::testing::ShownBox> boxes = platform::testing::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, Window());
    EXPECT_EQ(boxes[0].text, "subject text");
    EXPECT_EQ(boxes[0].caption, "subject caption");
    EXPECT_EQ(boxes[0].flags & 0xF, platform::kMbOkCancel);

    for (const char* subject : {"Re: the plan", "Re:Re:", "Re:\t", ""}) {
        Fake().compose["Subject"] = subject;
        EXPECT_EQ(CheckReplySubject(scope.work, Window()), 0) << subject;
    }
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());

    scope.Settings().emptySubject = false;
    Fake().compose["Subject"] = "Re:";
    EXPECT_EQ(CheckReplySubject(scope.work, Window()), 0);
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());
}

TEST(Warnings, NothingWithoutSettings) {
    FakeHostScope scope;
    scope.work.settings = nullptr;
    Fake().compose["Subject"] = "Re:";
    EXPECT_FALSE(CheckSingleReply(scope.work, Window()));
    EXPECT_EQ(CheckReplySubject(scope.work, Window()), 0);
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());
}

#endif  // !_WIN32
