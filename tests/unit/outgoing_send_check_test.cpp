// The send check: trusted-domain matching, what the list holds and in which
// order, the warnings, whether it opens, and the check against the fake host
// (a test answers in place of the dialog).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "outgoing/outgoing.h"
#include "outgoing/send_check.h"
#include "reply/reply_origins.h"
#include "support/fake_host.h"

using fakehost::Fake;

namespace {

SendRecipient To(const std::string& a) { return {RecipientField::kTo, a}; }
SendRecipient Cc(const std::string& a) { return {RecipientField::kCc, a}; }
SendRecipient Bcc(const std::string& a) { return {RecipientField::kBcc, a}; }

SendCheckRules Trusting(std::vector<std::string> domains) {
    SendCheckRules rules;
    rules.trustedDomains = std::move(domains);
    return rules;
}

// Addresses of the list top to bottom, a group's title as "[domain]".
std::vector<std::string> Layout(const SendCheckList& list) {
    std::vector<std::string> out;
    for (const SendCheckGroup& group : list.groups) {
        out.push_back(group.trusted ? "[trusted]" : "[" + group.domain + "]");
        for (const SendCheckRow& row : group.rows) out.push_back(row.address);
    }
    return out;
}

const SendCheckRow* RowOf(const SendCheckList& list, const std::string& address) {
    for (const SendCheckGroup& group : list.groups)
        for (const SendCheckRow& row : group.rows)
            if (row.address == address) return &row;
    return nullptr;
}

}  // namespace

TEST(SendCheckDomains, WholeDomainsAndSubdomainPatterns) {
    EXPECT_TRUE(DomainMatches("example.com", "example.com"));
    EXPECT_TRUE(DomainMatches("example.com", "Example.COM"));
    EXPECT_TRUE(DomainMatches("example.com", " @example.com. "));
    EXPECT_FALSE(DomainMatches("mail.example.com", "example.com"));
    EXPECT_FALSE(DomainMatches("example.com.evil", "example.com"));

    EXPECT_TRUE(DomainMatches("example.com", "*.example.com"));
    EXPECT_TRUE(DomainMatches("mail.example.com", "*.example.com"));
    EXPECT_TRUE(DomainMatches("a.b.Example.com", "*.example.com"));
    EXPECT_FALSE(DomainMatches("badexample.com", "*.example.com"));
    EXPECT_FALSE(DomainMatches("example.com.evil", "*.example.com"));

    EXPECT_FALSE(DomainMatches("example.com", ""));
    EXPECT_FALSE(DomainMatches("example.com", "*."));
    EXPECT_FALSE(DomainMatches("", "*.example.com"));
    EXPECT_TRUE(IsTrustedDomain("x.corp.example", {"example.org", "*.corp.example"}));
    EXPECT_FALSE(IsTrustedDomain("corp.example.net", {"example.org", "*.corp.example"}));
}

TEST(SendCheckList, TrustedFirstThenEachDomainInOrderOfAppearance) {
    const SendCheckList list = BuildSendCheckList(
        {To("carl@partner.example"), To("me2@example.org"), Cc("dora@other.example"),
         Cc("erik@partner.example"), Bcc("Carl@Partner.example"), Bcc("boss@sub.example.org")},
        Trusting({"*.example.org"}), std::nullopt, nullptr);
    const std::vector<std::string> expected = {
        "[trusted]", "me2@example.org", "boss@sub.example.org",
        "[partner.example]", "carl@partner.example", "erik@partner.example",
        "[other.example]", "dora@other.example"};
    EXPECT_EQ(Layout(list), expected);
    // The address met again in Bcc keeps its To row.
    EXPECT_EQ(RowOf(list, "carl@partner.example")->field, RecipientField::kTo);
    EXPECT_EQ(list.outsideRows, 3u);
    EXPECT_EQ(list.RecipientRows(), 5u);
    EXPECT_FALSE(RowOf(list, "me2@example.org")->outside);
    EXPECT_TRUE(RowOf(list, "dora@other.example")->outside);
}

TEST(SendCheckList, NamesFromTheBookShownBareAndUnlistedMarked) {
    const std::map<std::string, std::string> book = {{"ann@example.com", "\"Smith, Ann\""},
                                                     {"bob@example.com", ""}};
    const BookNameFn lookup = [&](const std::string& address, std::string* name) {
        auto found = book.find(address);
        if (found == book.end()) return false;
        *name = found->second;
        return true;
    };
    const SendCheckList list = BuildSendCheckList(
        {To("ann@example.com"), To("bob@example.com"), To("zed@example.com")}, Trusting({}),
        std::nullopt, lookup);
    EXPECT_TRUE(RowOf(list, "ann@example.com")->listed);
    EXPECT_EQ(RowOf(list, "ann@example.com")->name, "Smith, Ann");
    // Listed without a name is not the same as not listed.
    EXPECT_TRUE(RowOf(list, "bob@example.com")->listed);
    EXPECT_EQ(RowOf(list, "bob@example.com")->name, "");
    EXPECT_FALSE(RowOf(list, "zed@example.com")->listed);
}

TEST(SendCheckList, NewInConversationOnlyForAReply) {
    const std::vector<SendRecipient> recipients = {To("ann@example.com"), Cc("x@third.example"),
                                                   Cc("me2@example.org"), Cc("nodomain")};
    const SendCheckList reply = BuildSendCheckList(
        recipients, Trusting({"example.org"}),
        std::vector<std::string>{"example.com", "example.org"}, nullptr);
    EXPECT_FALSE(RowOf(reply, "ann@example.com")->newInConversation);
    EXPECT_TRUE(RowOf(reply, "x@third.example")->newInConversation);
    EXPECT_FALSE(RowOf(reply, "me2@example.org")->newInConversation);
    EXPECT_TRUE(RowOf(reply, "nodomain")->newInConversation);
    EXPECT_TRUE(RowOf(reply, "nodomain")->outside);

    const SendCheckList fresh =
        BuildSendCheckList(recipients, Trusting({"example.org"}), std::nullopt, nullptr);
    for (const SendCheckGroup& group : fresh.groups)
        for (const SendCheckRow& row : group.rows) EXPECT_FALSE(row.newInConversation) << row.address;
}

TEST(SendCheckList, WarningsCountToAndCcOnlyFromTheirThresholds) {
    SendCheckRules rules = Trusting({"example.org"});
    rules.manyDomains = 3;
    rules.manyRecipients = 5;
    std::vector<SendRecipient> recipients = {To("a@one.example"), Cc("b@two.example"),
                                             Cc("c@example.org"), Bcc("d@three.example"),
                                             Bcc("e@four.example")};
    SendCheckList list = BuildSendCheckList(recipients, rules, std::nullopt, nullptr);
    EXPECT_EQ(list.visibleOutsideDomains, 2u);
    EXPECT_EQ(list.visibleAddresses, 3u);
    EXPECT_FALSE(list.warnManyDomains);
    EXPECT_FALSE(list.warnManyVisible);

    recipients.push_back(Cc("f@three.example"));
    recipients.push_back(To("g@one.example"));
    list = BuildSendCheckList(recipients, rules, std::nullopt, nullptr);
    EXPECT_EQ(list.visibleOutsideDomains, 3u);
    EXPECT_EQ(list.visibleAddresses, 5u);
    EXPECT_TRUE(list.warnManyDomains);
    EXPECT_TRUE(list.warnManyVisible);

    rules.manyDomains = 0;
    rules.manyRecipients = -1;
    list = BuildSendCheckList(recipients, rules, std::nullopt, nullptr);
    EXPECT_FALSE(list.warnManyDomains);
    EXPECT_FALSE(list.warnManyVisible);
}

TEST(SendCheckList, OpensOnlyWhenThereIsSomethingToConfirm) {
    const SendCheckList trusted =
        BuildSendCheckList({To("a@example.org")}, Trusting({"example.org"}), std::nullopt, nullptr);
    EXPECT_FALSE(ShouldShowSendCheck(trusted, true));
    EXPECT_TRUE(ShouldShowSendCheck(trusted, false));
    const SendCheckList none = BuildSendCheckList({}, Trusting({}), std::nullopt, nullptr);
    EXPECT_FALSE(ShouldShowSendCheck(none, false));
    const SendCheckList outside =
        BuildSendCheckList({Bcc("a@x.example")}, Trusting({"example.org"}), std::nullopt, nullptr);
    EXPECT_TRUE(ShouldShowSendCheck(outside, true));
}

namespace {

// The reply fixture's mailbox (me@example.org) and book, a second mailbox
// of the user at corp.example, and a dialog that records what it was shown.
class SendCheckHostTest : public fakehost::ReplyTest {
protected:
    void SetUp() override {
        ReplyTest::SetUp();
        Write("5678.mb/MailBox.ini", "[Account]\r\nMailAddress=Me@Corp.Example\r\n");
        Settings().sendCheck = true;
        Settings().sendCheckOnlyOutside = true;
        Settings().manyDomains = 3;
        Settings().manyRecipients = 15;
        scope.work.replyOrigins = &origins;
    }
    int Check() {
        return CheckSendRecipients(W(), fakehost::Window(),
                                   [this](HostWindow, const SendCheckList& list) {
                                       shown.push_back(list);
                                       return answer;
                                   });
    }

    ReplyOrigins origins;
    std::vector<SendCheckList> shown;
    int answer = 0;
};

}  // namespace

TEST_F(SendCheckHostTest, OffReadsNothingAndShowsNothing) {
    Settings().sendCheck = false;
    Fake().compose["To"] = "x@outside.example";
    const int reads = Fake().headerReads;
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(Fake().headerReads, reads);
}

TEST_F(SendCheckHostTest, EveryMailboxsDomainIsTrustedAndNamesComeFromTheIndex) {
    Fake().compose["To"] = "Ann <ann@example.com>, boss@corp.example";
    Fake().compose["Cc"] = "me@example.org";
    answer = -1;
    EXPECT_EQ(Check(), -1);
    ASSERT_EQ(shown.size(), 1u);
    const std::vector<std::string> expected = {"[trusted]", "boss@corp.example", "me@example.org",
                                               "[example.com]", "ann@example.com"};
    EXPECT_EQ(Layout(shown[0]), expected);
    EXPECT_EQ(RowOf(shown[0], "ann@example.com")->name, "Ann Smith");
    EXPECT_FALSE(RowOf(shown[0], "boss@corp.example")->listed);
    EXPECT_EQ(Fake().liveTexts, 0);

    answer = 0;
    EXPECT_EQ(Check(), 0);
}

TEST_F(SendCheckHostTest, AllTrustedSendsWithoutDialogUnlessAlwaysAsked) {
    Settings().trustedDomains.SplitFrom("*.example.com");
    Fake().compose["To"] = "ann@example.com, y@mail.example.com";
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(shown.empty());
    Settings().sendCheckOnlyOutside = false;
    answer = -1;
    EXPECT_EQ(Check(), -1);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(SendCheckHostTest, AReplyMarksTheDomainsItsOriginalDidNotHold) {
    Fake().mail["From"] = "Ann <ann@example.com>";
    Fake().mail["To"] = "me@example.org";
    Fake().mail["Cc"] = "carl@partner.example";
    RememberReplyOrigin(W(), fakehost::Window(), 6);
    Fake().compose["To"] = "ann@example.com, carl@partner.example";
    Fake().compose["Cc"] = "wrong@third.example";
    EXPECT_EQ(Check(), 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(RowOf(shown[0], "ann@example.com")->newInConversation);
    EXPECT_FALSE(RowOf(shown[0], "carl@partner.example")->newInConversation);
    EXPECT_TRUE(RowOf(shown[0], "wrong@third.example")->newInConversation);

    // Reopened as a new message under the same handle: no conversation.
    RememberReplyOrigin(W(), fakehost::Window(), 0);
    EXPECT_EQ(Check(), 0);
    EXPECT_FALSE(RowOf(shown[1], "wrong@third.example")->newInConversation);
}

TEST_F(SendCheckHostTest, OnlyASendingMessageIsCheckedAndASentOneForgotten) {
    Fake().noBody = true;
    Fake().compose["Subject"] = "Minutes";
    Fake().compose["To"] = "x@outside.example";
    Fake().mail["From"] = "x@outside.example";
    RememberReplyOrigin(W(), fakehost::Window(), 5);
    ASSERT_EQ(origins.Size(), 1u);
    // Draft and reminder: no check (the real dialog answers Cancel natively).
    EXPECT_EQ(OnOutgoing(W(), nullptr, fakehost::Window(), 1), 0);
    EXPECT_EQ(OnOutgoing(W(), nullptr, fakehost::Window(), 2), 0);
    EXPECT_EQ(origins.Size(), 1u);
    Settings().sendCheck = false;
    EXPECT_EQ(OnOutgoing(W(), nullptr, fakehost::Window(), 0), 0);
    EXPECT_EQ(origins.Size(), 0u);
}
