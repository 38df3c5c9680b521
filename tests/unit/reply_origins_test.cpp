// What a compose window remembers of the conversation it answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reply/reply_origins.h"
#include "support/fake_host.h"

using fakehost::Fake;

TEST(ReplyOriginDomains, AddressesAndDomainsAsTheTokenizerReadsThem) {
    EXPECT_EQ(DomainOf("Ann@Mail.Example.COM"), "mail.example.com");
    EXPECT_EQ(DomainOf("ann@example.com."), "example.com");
    EXPECT_EQ(DomainOf("no-domain"), "");
    const std::vector<std::string> addresses = {"ann@example.com", "b@x.example", "c@Example.com"};
    EXPECT_EQ(ListAddresses("\"Smith, Ann\" <ann@example.com>, team: b@x.example;, (x) c@Example.com"),
              addresses);
    const std::vector<std::string> domains = {"example.com", "x.example", "y.example"};
    EXPECT_EQ(ListDomains({"ann@example.com, b@X.example", "", "c@example.com,d@y.example"}), domains);
}

TEST(ReplyOrigins, PerWindowAndBounded) {
    ReplyOrigins origins;
    int a = 0, b = 0;
    origins.Remember(&a, {"one.example"});
    origins.Remember(&b, {"two.example"});
    origins.Remember(&a, {"three.example"});
    EXPECT_EQ(origins.Size(), 2u);
    EXPECT_EQ(origins.Find(&a), std::vector<std::string>{"three.example"});
    origins.Forget(&a);
    EXPECT_FALSE(origins.Find(&a));
    EXPECT_TRUE(origins.Find(&b));

    std::vector<int> windows(ReplyOrigins::kMaxWindows + 1);
    for (int& w : windows) origins.Remember(&w, {});
    EXPECT_EQ(origins.Size(), ReplyOrigins::kMaxWindows);
    EXPECT_FALSE(origins.Find(&b));   // the oldest went first
    EXPECT_FALSE(origins.Find(&windows[0]));
    EXPECT_TRUE(origins.Find(&windows.back()));
}

TEST(ReplyOrigins, RememberedAtOpeningOnlyForRepliesWhileTheCheckIsOn) {
    fakehost::FakeHostScope scope;
    ReplyOrigins origins;
    scope.work.replyOrigins = &origins;
    Fake().mail["From"] = "ann@example.com";
    Fake().mail["To"] = "me@example.org";
    Fake().mail["Cc"] = "carl@partner.example";
    HostWindow window = fakehost::Window();

    RememberReplyOrigin(scope.work, window, 5);
    EXPECT_FALSE(origins.Find(window));   // the send check is off

    scope.Settings().sendCheck = true;
    for (int mode : {5, 6, 7}) {
        RememberReplyOrigin(scope.work, window, mode);
        const std::vector<std::string> expected = {"example.com", "example.org", "partner.example"};
        EXPECT_EQ(origins.Find(window), expected) << mode;
    }
    for (int mode : {0, 1, 2, 3, 10, 11, 12}) {
        RememberReplyOrigin(scope.work, window, 6);
        RememberReplyOrigin(scope.work, window, mode);
        EXPECT_FALSE(origins.Find(window)) << mode;
    }
}
