#include <gtest/gtest.h>

#include <string>

#include "common/sizes.h"
#include "reply/reply_all.h"
#include "support/fake_host.h"

using fakehost::Compose;
using fakehost::Fake;
using fakehost::Window;

namespace {

class ReplyArrange : public fakehost::ReplyTest {
protected:
    // A mail from Ann to the user and Bob with Carl in Cc, and the reply to
    // all that the host opened for it.
    void BaseMail() {
        Fake().mail["From"] = "Ann <ann@example.com>";
        Fake().mail["To"] = "Me <me@example.org>, Bob <bob@example.com>";
        Fake().mail["Cc"] = "carl@example.net";
        Fake().compose["From"] = "Me <me@example.org>";
        Fake().compose["To"] = "Ann <ann@example.com>";
        Fake().compose["Cc"] = "Bob <bob@example.com>, carl@example.net";
    }
};

// Comma-separated addresses a0@example.com ... of exactly size bytes.
std::string ListOfSize(size_t size, char tag) {
    std::string list;
    for (int i = 0; list.size() < size; ++i) {
        if (!list.empty()) list += ',';
        list += tag + std::to_string(i) + "@example.com";
    }
    list.resize(size - 1);
    list += 'z';
    return list;
}

}  // namespace

TEST_F(ReplyArrange, SenderAndToRecipientsGoToToTheRestToCc) {
    BaseMail();
    EXPECT_TRUE(ArrangeReplyAll(scope.work, Window()));
    EXPECT_EQ(Compose("To"), "Ann <ann@example.com>,Bob <bob@example.com>");
    EXPECT_EQ(Compose("Cc"), "carl@example.net");

    // What the host put into To beyond the arranged list comes first.
    BaseMail();
    Fake().compose["To"] = "List <list@example.com>, Ann <ann@example.com>";
    Fake().compose["Cc"] = "Bob <bob@example.com>";
    EXPECT_TRUE(ArrangeReplyAll(scope.work, Window()));
    EXPECT_EQ(Compose("To"), "List <list@example.com>,Ann <ann@example.com>,Bob <bob@example.com>");
    EXPECT_EQ(Compose("Cc"), "");
}

TEST_F(ReplyArrange, ReplyingToOnesOwnMailKeepsTheUserOut) {
    Fake().mail["From"] = "Me <me@example.org>";
    Fake().mail["To"] = "Ann <ann@example.com>, me@example.org, bob@example.com";
    Fake().compose["From"] = "Me <me@example.org>";
    Fake().compose["To"] = "Me <me@example.org>";
    Fake().compose["Cc"] = "Ann <ann@example.com>, bob@example.com";
    EXPECT_TRUE(ArrangeReplyAll(scope.work, Window()));
    EXPECT_EQ(Compose("To"), "Ann <ann@example.com>,bob@example.com");
    EXPECT_EQ(Compose("Cc"), "");

    // Without SelfExclude the host's own To entry stays; the sender is still
    // not added a second time.
    Settings().selfExclude = false;
    Fake().compose["To"] = "Me <me@example.org>";
    EXPECT_TRUE(ArrangeReplyAll(scope.work, Window()));
    EXPECT_EQ(Compose("To"), "Me <me@example.org>,Ann <ann@example.com>,bob@example.com");
}

TEST_F(ReplyArrange, ReplyToEqualToTheHostsToOrArrangementOffChangesNothing) {
    BaseMail();
    Fake().mail["Reply-To"] = "ANN <Ann@Example.com>";
    EXPECT_FALSE(ArrangeReplyAll(scope.work, Window()));
    EXPECT_TRUE(Fake().written.empty());

    Settings().excludeReplyTo = false;
    EXPECT_TRUE(ArrangeReplyAll(scope.work, Window()));

    for (int arrange : {0, 2}) {
        BaseMail();
        Fake().written.clear();
        Settings().arrange = arrange;
        EXPECT_FALSE(ArrangeReplyAll(scope.work, Window()));
        EXPECT_TRUE(Fake().written.empty());
    }
}

TEST_F(ReplyArrange, ACcThatDoesNotFitWholeLeavesToAndCcAsTheHostFilledThem) {
    BaseMail();
    // Joined with a leading comma it needs one byte more than the buffer holds.
    const std::string cc = ListOfSize(kListSize - 1, 'c');
    Fake().compose["Cc"] = cc;
    EXPECT_FALSE(ArrangeReplyAll(scope.work, Window()));
    EXPECT_TRUE(Fake().written.empty());
    EXPECT_EQ(Compose("Cc"), cc);
    EXPECT_EQ(Compose("To"), "Ann <ann@example.com>");

    // One byte less fits, whole.
    const std::string fits = ListOfSize(kListSize - 2, 'c');
    Fake().compose["Cc"] = fits;
    EXPECT_TRUE(ArrangeReplyAll(scope.work, Window()));
    EXPECT_EQ(Compose("Cc"), fits);
    EXPECT_EQ(Compose("To"), "Ann <ann@example.com>,Bob <bob@example.com>");
}

TEST_F(ReplyArrange, SwitchToReplyAllBuildsCcFromTheBaseMail) {
    BaseMail();
    Fake().compose["To"] = "Ann <ann@example.com>";
    Fake().compose["Cc"] = "";
    Settings().selfExclude = false;
    SwitchToReplyAll(scope.work, Window());
    // The arrangement and the rewriting ran after the switch.
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>");
    EXPECT_EQ(Compose("Cc"), "Me <me@example.org>,carl@example.net");

    Settings().selfExclude = true;
    Fake().compose["Cc"] = "";
    SwitchToReplyAll(scope.work, Window());
    EXPECT_EQ(Compose("Cc"), "carl@example.net");
    EXPECT_EQ(Fake().liveTexts, 0);
}

TEST_F(ReplyArrange, SwitchToReplyAllKeepsTheOldCcWhenTheNewOneDoesNotFit) {
    Settings().arrange = 0;
    Settings().useAddrBook = false;
    Fake().mail["From"] = "ann@example.com";
    Fake().mail["To"] = ListOfSize(40000, 't');
    Fake().mail["Cc"] = ListOfSize(40000, 'c');
    Fake().compose["Cc"] = "old@example.com";
    SwitchToReplyAll(scope.work, Window());
    EXPECT_EQ(Compose("To"), "ann@example.com");
    EXPECT_EQ(Compose("Cc"), "old@example.com");
}

TEST_F(ReplyArrange, SwitchToReplyGoesToTheReplyToOrTheSender) {
    BaseMail();
    SwitchToReply(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>");
    EXPECT_EQ(Compose("Cc"), "");

    Fake().mail["Reply-To"] = "bob@example.com";
    Fake().compose["Cc"] = "carl@example.net";
    SwitchToReply(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Bob Jones <bob@example.com>");
    EXPECT_EQ(Compose("Cc"), "");
}
