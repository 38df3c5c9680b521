#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "reply/mailer_header.h"
#include "reply/rewrite.h"
#include "support/fake_host.h"
#include "support/test_support.h"

using fakehost::Compose;
using fakehost::Fake;
using fakehost::Record;
using fakehost::Window;

namespace {

class ReplyRewrite : public fakehost::ReplyTest {};

// "ann@example.com, t1@example.com, ..." of exactly size bytes.
std::string SpacedListOfSize(size_t size) {
    std::string list = "ann@example.com";
    for (int i = 1; list.size() < size; ++i) list += ", t" + std::to_string(i) + "@example.com";
    list.resize(size);
    return list;
}

}  // namespace

TEST_F(ReplyRewrite, EverySixHeadersGetNamesAndTheResultNeedsAllSix) {
    Fake().compose["To"] = "ann@example.com";
    Fake().compose["Cc"] = "Bobby <bob@example.com>, stranger@example.net";
    Fake().compose["Bcc"] = "Ann <ann@example.com>";
    Fake().compose["Resent-To"] = "bob@example.com";
    Fake().compose["Resent-Cc"] = "Who <who@example.net>";
    Fake().compose["Resent-Bcc"] = "ann@example.com";
    EXPECT_TRUE(RewriteReplyHeaders(scope.work, Window()));
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>");
    EXPECT_EQ(Compose("Cc"), "Bob Jones <bob@example.com>,stranger@example.net");
    EXPECT_EQ(Compose("Bcc"), "Ann Smith <ann@example.com>");
    EXPECT_EQ(Compose("Resent-To"), "Bob Jones <bob@example.com>");
    EXPECT_EQ(Compose("Resent-Cc"), "Who <who@example.net>");
    EXPECT_EQ(Compose("Resent-Bcc"), "Ann Smith <ann@example.com>");
    EXPECT_EQ(Fake().written.size(), 6u);
    EXPECT_EQ(Fake().liveTexts, 0);

    // An empty header is not rewritten, so the whole answer is false, but the
    // others are still written.
    Fake().compose["Resent-Bcc"] = "";
    Fake().compose["To"] = "bob@example.com";
    Fake().written.clear();
    EXPECT_FALSE(RewriteReplyHeaders(scope.work, Window()));
    EXPECT_EQ(Compose("To"), "Bob Jones <bob@example.com>");
    EXPECT_EQ(Fake().written.size(), 5u);
}

TEST_F(ReplyRewrite, AHeaderThatFillsItsReadBufferIsLeftAsItIs) {
    // The host cuts a longer value to the buffer less one byte, so a value
    // that fills the buffer may be cut: it stays, the other headers do not.
    for (size_t size : {kListSize - 1, kListSize + 5000}) {
        const std::string to = SpacedListOfSize(size);
        Fake().compose["To"] = to;
        Fake().compose["Cc"] = "bob@example.com";
        Fake().written.clear();
        EXPECT_FALSE(RewriteReplyHeaders(scope.work, Window()));
        EXPECT_EQ(Compose("To"), to);
        EXPECT_EQ(Compose("Cc"), "Bob Jones <bob@example.com>");
    }

    // One byte short of filling it, the value is whole and rewritten.
    std::string to = SpacedListOfSize(kListSize - 2);
    Fake().compose["To"] = to;
    RewriteReplyHeaders(scope.work, Window());
    for (size_t at = to.find(", "); at != std::string::npos; at = to.find(", ", at)) to.erase(at + 1, 1);
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>" + to.substr(std::strlen("ann@example.com")));
}

TEST_F(ReplyRewrite, NothingHappensWithoutAnAddressIndex) {
    scope.work.addrBook = nullptr;
    Fake().compose["To"] = "ann@example.com";
    EXPECT_FALSE(RewriteReplyHeaders(scope.work, Window()));
    EXPECT_TRUE(Fake().written.empty());
}

TEST_F(ReplyRewrite, OwnAddressLeavesEveryHeaderButToEvenWhenThatEmptiesIt) {
    for (bool useAddrBook : {true, false}) {
        SCOPED_TRACE(useAddrBook ? "UseAddrBook on" : "UseAddrBook off");
        Settings().useAddrBook = useAddrBook;
        Fake().compose["To"] = "Me <ME@example.org>";
        Fake().compose["Cc"] = "Me <me@example.org>";
        Fake().compose["Resent-Bcc"] = "me@Example.org";
        Fake().compose["Bcc"] = "me@example.org, bob@example.com";
        EXPECT_TRUE(RewriteHeader(scope.work, Window(), "To", ""));
        EXPECT_EQ(Compose("To"), "Me <ME@example.org>");
        EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Cc", ""));
        EXPECT_EQ(Compose("Cc"), "");
        EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Resent-Bcc", ""));
        EXPECT_EQ(Compose("Resent-Bcc"), "");
        EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Bcc", ""));
        EXPECT_EQ(Compose("Bcc"), useAddrBook ? "Bob Jones <bob@example.com>" : "bob@example.com");
    }

    // Without SelfExclude the user stays.
    Settings().useAddrBook = true;
    Settings().selfExclude = false;
    Fake().compose["Cc"] = "me@example.org";
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Cc", ""));
    EXPECT_EQ(Compose("Cc"), "me@example.org");
}

TEST_F(ReplyRewrite, WithoutTheAddressBookTheHostsExpandedListIsWrittenUnfolded) {
    Settings().useAddrBook = false;
    Settings().selfExclude = false;
    Fake().compose["Cc"] = "friends-group,\r\n stranger@example.net";
    Fake().serialize["friends-group,\r\n stranger@example.net"] =
        "Ann <ann@example.com>,\r\n Me <me@example.org>,\r\n\tstranger@example.net";
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Cc", ""));
    EXPECT_EQ(Compose("Cc"), "Ann <ann@example.com>, Me <me@example.org>,\tstranger@example.net");

    Settings().selfExclude = true;
    Fake().compose["Cc"] = "friends-group,\r\n stranger@example.net";
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Cc", ""));
    EXPECT_EQ(Compose("Cc"), "Ann <ann@example.com>,stranger@example.net");

    // No expansion from the host: the header as it stood, unfolded.
    Fake().serialize["a@example.com,\r\n b@example.com"] = std::nullopt;
    Fake().compose["Cc"] = "a@example.com,\r\n b@example.com";
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Cc", ""));
    EXPECT_EQ(Compose("Cc"), "a@example.com,b@example.com");

    // The option off: the host is not asked.
    Settings().serializeRcpts = false;
    Fake().compose["Cc"] = "friends-group,\r\n stranger@example.net";
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "Cc", ""));
    EXPECT_EQ(Compose("Cc"), "friends-group,stranger@example.net");
    EXPECT_EQ(Fake().liveTexts, 0);
}

TEST_F(ReplyRewrite, GroupHintsPreferTheirFolder) {
    // The mail folder's link.
    Write("1234.mb/!Inbox/Folder.ini", "[Settings]\r\nAddrGrp=Main:Work\r\n");
    Fake().compose["To"] = "ann@example.com";
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Ann at Work <ann@example.com>");

    // A typed reference beats the link.
    Fake().compose["To"] = "@\"Main:Friends\", ann@example.com";
    Fake().serialize["@\"Main:Friends\", ann@example.com"] = "bob@example.com, ann@example.com";
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Bob Jones <bob@example.com>,Ann Smith <ann@example.com>");

    Fake().compose["To"] = "ann@example.com, @\"Main:Work\"";
    Fake().serialize["ann@example.com, @\"Main:Work\""] = "ann@example.com";
    Write("1234.mb/!Inbox/Folder.ini", "");
    scope.LoadAddressBook();
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Ann at Work <ann@example.com>");
}

TEST_F(ReplyRewrite, GroupReferenceFolderIsAPathOfBoundedSize) {
    char* raw = scope.work.buffers.header;
    char out[kPathSize];
    std::strcpy(raw, "x@example.com, @\"Main:Work:Team\", @\"Other:One\"");
    ASSERT_NE(GroupReferenceFolder(scope.work, out, sizeof out), nullptr);
    EXPECT_EQ(std::string(out),
              JoinPath(JoinPath(Fake().dataFolder, "AddrBook"), "@Main\\Work\\Team"));

    std::strcpy(raw, "x@example.com, @Main");
    EXPECT_EQ(GroupReferenceFolder(scope.work, out, sizeof out), nullptr);

    // A reference whose path would not fit is no reference.
    const std::string base = JoinPath(JoinPath(Fake().dataFolder, "AddrBook"), "@");
    const std::string fits(kPathSize - 1 - base.size(), 'f');
    std::strcpy(raw, ("@\"" + fits + "\"").c_str());
    ASSERT_NE(GroupReferenceFolder(scope.work, out, sizeof out), nullptr);
    EXPECT_EQ(std::strlen(out), kPathSize - 1);
    std::strcpy(raw, ("@\"" + fits + "g\"").c_str());
    EXPECT_EQ(GroupReferenceFolder(scope.work, out, sizeof out), nullptr);
    std::strcpy(raw, ("@\"" + std::string(60000, 'g') + "\"").c_str());
    EXPECT_EQ(GroupReferenceFolder(scope.work, out, sizeof out), nullptr);
    // The caller's buffer bounds it too.
    std::strcpy(raw, "@\"Main:Work\"");
    char small[8];
    EXPECT_EQ(GroupReferenceFolder(scope.work, small, sizeof small), nullptr);
}

TEST_F(ReplyRewrite, EncodedHeadersGetEncodedNames) {
    Fake().compose["To"] = "=?ISO-2022-JP?B?QQ==?= <ann@example.com>";
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "To", ""));
    EXPECT_EQ(Compose("To"), "=?ISO-2022-JP?B?QW5uIFNtaXRo?= <ann@example.com>");
    // One of the three marks missing: names stay plain.
    Fake().compose["To"] = "=?ISO-2022-JP?Q?A?= <ann@example.com>";
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "To", ""));
    EXPECT_EQ(Compose("To"), "Ann Smith <ann@example.com>");
}

TEST_F(ReplyRewrite, UnlistedRecipientsAreReportedOnlyWhenAsked) {
    const std::string report = dir.Join("NOENTRY.txt");
    CopyBounded(Settings().reportFile, kPathSize, report);
    Fake().compose["To"] = "ann@example.com, Zed <zed@example.net>";
    RewriteHeader(scope.work, Window(), "To", "");
    EXPECT_FALSE(test::Exists(report));
    Settings().reportSwitch = true;
    RewriteHeader(scope.work, Window(), "To", "");
    EXPECT_EQ(test::ReadBytes(report), "\"Zed\"\tzed@example.net\r\n");
}

TEST_F(ReplyRewrite, AChangedAddressBookIsReadAgainOnce) {
    Fake().compose["To"] = "bob@example.com";
    RewriteHeader(scope.work, Window(), "To", "");
    EXPECT_EQ(Compose("To"), "Bob Jones <bob@example.com>");

    Write("AddrBook/@Main/Friends/Group.idx", Record("Robert Jones", "bob@example.com"));
    Fake().compose["To"] = "bob@example.com";
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Bob Jones <bob@example.com>");   // cached until told

    scope.addrBookChanges.Add({platform::FolderChangeKind::kUnknown, ""});
    Fake().compose["To"] = "bob@example.com";
    RewriteReplyHeaders(scope.work, Window());
    EXPECT_EQ(Compose("To"), "Robert Jones <bob@example.com>");
    EXPECT_FALSE(scope.addrBookChanges.Pending());
}

TEST_F(ReplyRewrite, Utf8WindowsTakeConvertedTexts) {
    Fake().codePage = 65001;
    Settings().useAddrBook = false;
    const std::string local = "Jos\xe9 <jose@example.com>";
    Fake().compose["To"] = local;
    EXPECT_TRUE(RewriteHeader(scope.work, Window(), "To", ""));
    EXPECT_EQ(Compose("To"), platform::AnsiToUtf8(local));
    EXPECT_EQ(Fake().liveTexts, 0);

    // A conversion that fails writes nothing rather than local bytes.
    Fake().utf8Fails = true;
    Fake().compose["To"] = local;
    Fake().written.clear();
    RewriteHeader(scope.work, Window(), "To", "");
    EXPECT_EQ(Compose("To"), local);
    EXPECT_TRUE(Fake().written.empty());
}

TEST(ReplyMailerHeader, TheTagIsAddedOnceAndNeverCut) {
    std::string value;
    ASSERT_TRUE(BuildMailerPluginValue("", "Halyard", "4.1.3.0", &value));
    EXPECT_EQ(value, "Halyard 4.1.3.0");
    ASSERT_TRUE(BuildMailerPluginValue("Other 1.0", "Halyard", "4.1.3.0", &value));
    EXPECT_EQ(value, "Other 1.0, Halyard 4.1.3.0");
    EXPECT_FALSE(BuildMailerPluginValue("Other 1.0, Halyard 4.1.4.0", "Halyard", "4.1.3.0", &value));
    EXPECT_FALSE(BuildMailerPluginValue("", "", "4.1.3.0", &value));

    const std::string almost(kListSize - kMailerHeaderReserve - 1, 'x');
    ASSERT_TRUE(BuildMailerPluginValue(almost, "Halyard", "4.1.3.0", &value));
    EXPECT_EQ(value, almost + ", Halyard 4.1.3.0");
    EXPECT_FALSE(BuildMailerPluginValue(almost + "x", "Halyard", "4.1.3.0", &value));
    // A long version text can never push the value past a header's size.
    EXPECT_FALSE(BuildMailerPluginValue(almost, "Halyard", std::string(100, '9'), &value));
}
