// Rewritten recipient lists as another mail program reads them: names with
// special characters, quotes and backslashes, encoded or not, and groups.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/platform.h"
#include "reply/reply_all.h"
#include "reply/rewrite.h"
#include "reply_header_checker.h"
#include "support/fake_host.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

using fakehost::Compose;
using fakehost::Fake;
using fakehost::Record;
using fakehost::Window;

namespace {

struct Listed {
    std::string name;      // as the address book stores it
    std::string shown;     // as a reader must show it
    std::string address;
};

// Names that need quoting, escaping or a charset, in the ANSI code page.
std::vector<Listed> People() {
    std::vector<Listed> people = {
        {"Smith, Ann", "Smith, Ann", "as@example.com"},
        {"Dr. Bob Jones", "Dr. Bob Jones", "drbob@example.com"},
        {"Smith, Bob \"The Builder\"", "Smith, Bob \"The Builder\"", "builder@example.com"},
        {"C:\\Users\\Ann, Admin", "C:\\Users\\Ann, Admin", "admin@example.com"},
        {"\"Jones, Carol\"", "Jones, Carol", "carol@example.com"},
    };
    if (platform::AnsiCodePage() == 932)   // Yamada, Taro
        people.push_back({"\x8E\x52\x93\x63, \x91\xBE\x98\x59", "\x8E\x52\x93\x63, \x91\xBE\x98\x59",
                          "yamada@example.jp"});
    else                                   // Mueller, Juergen
        people.push_back({"M\xFCller, J\xFCrgen", "M\xFCller, J\xFCrgen", "jm@example.de"});
    return people;
}

class ReadableLists : public fakehost::ReplyTest {
protected:
    std::vector<headercheck::Mailbox> Read(const std::string& header) {
        std::vector<headercheck::Mailbox> boxes;
        std::string error;
        EXPECT_TRUE(headercheck::ParseAddressList(Compose(header), &boxes, &error))
            << error << " in " << Compose(header);
        return boxes;
    }
};

// Both code pages natively; under Wine the system's.
void InEveryCodePage(const std::function<void()>& check) {
    check();
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
    check();
#endif
}

}  // namespace

TEST_F(ReadableLists, ListedNamesReadAsTheAddressBookHasThem) {
    auto check = [&] {
        std::string index;
        std::string to;
        for (const Listed& person : People()) {
            index += Record(person.name, person.address);
            to += person.address + ", ";
        }
        Write("AddrBook/@Main/People/Group.idx", index);
        scope.LoadAddressBook();

        // Plain and with an encoded word in the header (all names encoded).
        for (const std::string& first : {std::string("x@example.net"),
                                         std::string("=?UTF-8?B?WA==?= <x@example.net>")}) {
            SCOPED_TRACE(first);
            Fake().compose["To"] = to + first;
            RewriteReplyHeaders(scope.work, Window());
            const std::vector<headercheck::Mailbox> boxes = Read("To");
            const std::vector<Listed> people = People();
            ASSERT_EQ(boxes.size(), people.size() + 1);
            for (size_t i = 0; i < people.size(); ++i) {
                EXPECT_EQ(boxes[i].name, people[i].shown);
                EXPECT_EQ(boxes[i].address, people[i].address);
            }
        }
    };
    InEveryCodePage(check);
    EXPECT_EQ(Fake().liveTexts, 0);
}

TEST_F(ReadableLists, EmptyQuotedNamesAndEscapedNamesOfUnlistedSenders) {
    Fake().compose["To"] = "\"\" <x@example.com>, \"Lee, \\\"Al\\\" C:\\\\x\" <al@example.com>";
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "x@example.com,\"Lee, \\\"Al\\\" C:\\\\x\" <al@example.com>");
    const std::vector<headercheck::Mailbox> boxes = Read("To");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].name, "Lee, \"Al\" C:\\x");
}

TEST_F(ReadableLists, GroupsGiveTheirMembersAndEmptyGroupsNothing) {
    // A compose header: members rewritten, labels gone.
    Fake().compose["To"] = "team: ann@example.com, bob@example.com;";
    Fake().compose["Cc"] = "undisclosed-recipients:;";
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>");
    EXPECT_EQ(Compose("Cc"), "undisclosed-recipients:;");

    // A reply to all on bulk mail: the sender alone in To, the group's
    // members in Cc; the switch command gives the same.
    auto bulkMail = [] {
        Fake().mail["From"] = "Carl <carl@example.net>";
        Fake().mail["To"] = "undisclosed-recipients:;";
        Fake().mail["Cc"] = "team: ann@example.com, me@example.org, bob@example.com;";
        Fake().compose["From"] = "me@example.org";
        Fake().compose["To"] = "Carl <carl@example.net>";
        Fake().compose["Cc"] = "undisclosed-recipients:;, team: ann@example.com, me@example.org, bob@example.com;";
    };
    bulkMail();
    EXPECT_TRUE(ArrangeReplyAll(scope.work, Window()));
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Carl <carl@example.net>");
    EXPECT_EQ(Compose("Cc"), "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>");

    bulkMail();
    Fake().compose["Cc"] = "";
    SwitchToReplyAll(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Carl <carl@example.net>");
    EXPECT_EQ(Compose("Cc"), "Ann Smith <ann@example.com>,Bob Jones <bob@example.com>");
    Read("Cc");
}
