#include <cstdio>
#include <memory>
#include <string>

#include "addressbook/addr_book_changes.h"
#include "addressbook/addr_book_refresh.h"
#include "addressbook/address_format.h"
#include "addressbook/display_name.h"
#include "addressbook/halyard_addr_book.h"
#include "addressbook_fixture.h"
#include "common/sizes.h"
#include "common/text.h"

namespace {

using abtest::Card;
using abtest::Record;

class LookupTest : public abtest::AddressBookTest {
protected:
    void SetUp() override {
        AddressBookTest::SetUp();
        Write("AddrBook/@A/Early/Group.idx",
              Record("", "Early Name", "both@x") + Record("", "Early Sub", "sub@x") +
                  Record("", "", "noname@x") + Record("gone.vcf", "No Card", "card@x") +
                  Record("", "Mixed", "Mixed@Case.X") + Record("", "Smith, John", "john@x") +
                  Record("", "'Single, S.'", "single@x") + Record("", "\"Quoted, Already\"", "q@x") +
                  Record("", "jane@home", "jane@x"));
        Write("AddrBook/@A/Friends/Group.idx",
              Record("", "Group Name", "both@x") + Record("", "Friends Only", "pal@x"));
        Write("AddrBook/@A/Friends/Sub/Group.idx", Record("", "Sub Name", "sub@x"));
        Write("AddrBook/@A/Friends2/Group.idx",
              Record("", "Friends2 Name", "pal@x") + Record("", "Two", "two@x"));
        Write("AddrBook/@A/Later/Group.idx", Record("later.vcf", "Has Card", "card@x"));
        Write("AddrBook/@A/Later/later.vcf", Card("FN:Later Card\r\nEMAIL:card@x\r\n"));
        // A folder without an index on disk in the walk.
        Write("AddrBook/@A/Bare/readme.txt", "no index here");
    }
    std::string Folder(const char* name) const { return JoinPath(JoinPath(Root(), "@A"), name); }

    std::string Name(SHalyardAddrBook& book, const char* address, const char* group = "") {
        char name[kNameSize] = "untouched";
        if (!book.FindName(address, name, group)) return "<not listed: " + std::string(name) + ">";
        return name;
    }
};

TEST_F(LookupTest, GroupFolderFirstThenTheWalk) {
    SHalyardAddrBook book(Root().c_str());
    EXPECT_EQ(Name(book, "both@x"), "Early Name");
    std::string friends = Folder("Friends");
    EXPECT_EQ(Name(book, "both@x", friends.c_str()), "Group Name");
    // The group folder's subfolders come before the plain walk.
    EXPECT_EQ(Name(book, "sub@x"), "Early Sub");
    EXPECT_EQ(Name(book, "sub@x", friends.c_str()), "Sub Name");
    // Prefix match without regard to ASCII case: Friends wins over Friends2.
    std::string upper = Folder("FRIENDS");
    EXPECT_EQ(Name(book, "pal@x", upper.c_str()), "Friends Only");
    // Not in the group folder: the plain walk decides.
    EXPECT_EQ(Name(book, "two@x", friends.c_str()), "Two");
    std::string nowhere = Folder("Nowhere");
    EXPECT_EQ(Name(book, "both@x", nowhere.c_str()), "Early Name");
    EXPECT_EQ(Name(book, "nobody@x", friends.c_str()), "<not listed: untouched>");
    EXPECT_EQ(Name(book, "both@x", nullptr), "Early Name");
}

TEST_F(LookupTest, PrefixMatchReachesFriends2) {
    // With no folder "Friends" left, a link to it matches "Friends2" first.
    Write("Other/AddrBook/@A/Early/Group.idx", Record("", "Early", "pal@x"));
    Write("Other/AddrBook/@A/Friends2/Group.idx", Record("", "Second", "pal@x"));
    std::string root = At("Other/AddrBook");
    SHalyardAddrBook book(root.c_str());
    std::string friends = JoinPath(JoinPath(root, "@A"), "Friends");
    EXPECT_EQ(Name(book, "pal@x", friends.c_str()), "Second");
    EXPECT_EQ(Name(book, "pal@x"), "Early");
}

TEST_F(LookupTest, NamesComeBackQuotedWhenNeeded) {
    SHalyardAddrBook book(Root().c_str());
    EXPECT_EQ(Name(book, "noname@x"), "");   // listed with an empty name
    EXPECT_EQ(Name(book, "john@x"), "\"Smith, John\"");
    EXPECT_EQ(Name(book, "jane@x"), "\"jane@home\"");
    EXPECT_EQ(Name(book, "single@x"), "\"Single, S.\"");
    EXPECT_EQ(Name(book, "q@x"), "\"Quoted, Already\"");
}

TEST_F(LookupTest, IgnoreCaseDecides) {
    SHalyardAddrBook book(Root().c_str());
    EXPECT_EQ(Name(book, "mixed@case.x"), "<not listed: untouched>");
    EXPECT_EQ(Name(book, "Mixed@Case.X"), "Mixed");
    ChooseCompareAddress(true);
    EXPECT_EQ(Name(book, "mixed@case.x"), "Mixed");
    EXPECT_EQ(Name(book, "MIXED@CASE.X"), "Mixed");
}

TEST_F(LookupTest, CardsSkipFoldersWithoutOne) {
    SHalyardAddrBook book(Root().c_str());
    // Early lists card@x but its card file is missing: Later's card counts.
    const std::unique_ptr<SVcardItem> item = book.FindCard("card@x", "");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->fullName, "Later Card");
    EXPECT_EQ(item->address, "card@x");
    // Listed, but no folder has a card for it.
    EXPECT_EQ(book.FindCard("both@x", Folder("Friends").c_str()), nullptr);
    EXPECT_EQ(book.FindCard("nobody@x", nullptr), nullptr);
}

TEST_F(LookupTest, NoBooksListNothing) {
    SHalyardAddrBook missing(At("Nothing").c_str());
    EXPECT_EQ(Name(missing, "both@x"), "<not listed: untouched>");
    EXPECT_EQ(missing.FindCard("card@x", ""), nullptr);
}

TEST_F(LookupTest, StartUpBuildFromTheDataFolder) {
    // The host's data folder ends in a backslash; the root has no doubled one.
    std::string data = JoinPath(dir_.Path(), "");
    std::unique_ptr<SHalyardAddrBook> book = BuildAddressIndex(JoinPath(data, kAddrBookFolder));
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->RootPath(), JoinPath(dir_.Path(), "AddrBook"));
    EXPECT_EQ(Name(*book, "both@x"), "Early Name");
    // The group folder hint of a folder link matches the walk's spelling.
    Write("Mail/Folder.ini", "[Settings]\r\nAddrGrp=A:Friends\r\n");
    std::string group = book->ResolveFolderGroup(data.c_str(), "Mail\\");
    EXPECT_EQ(Name(*book, "both@x", group.c_str()), "Group Name");
}

TEST_F(LookupTest, RefreshReadsWhatTheWatcherReported) {
    using platform::FolderChangeKind;
    AddressBookChanges changes;
    SHalyardAddrBook book(Root().c_str());
    // As the watcher reports them: the book's folder, then what it saw.
    const std::string friends = JoinPath(Root(), "@A\\Friends\\Group.idx");
    EXPECT_EQ(Name(book, "pal@x"), "Friends Only");
    EXPECT_FALSE(RefreshAddressBook(changes, book));

    // The folder named is read again, once.
    Write("AddrBook/@A/Friends/Group.idx", Record("", "Renamed", "pal@x"));
    EXPECT_EQ(Name(book, "pal@x"), "Friends Only");   // cached until told
    changes.Add({FolderChangeKind::kModified, friends});
    changes.Add({FolderChangeKind::kModified, friends});
    EXPECT_TRUE(RefreshAddressBook(changes, book));
    EXPECT_FALSE(changes.Pending());
    EXPECT_EQ(Name(book, "pal@x"), "Renamed");
    EXPECT_FALSE(RefreshAddressBook(changes, book));

    // Held open by another program while it changed: the last good entries
    // serve, and it is read at the first refresh once it is free, with no
    // further change reported.
    Write("AddrBook/@A/Friends/Group.idx", Record("", "Held", "pal@x"));
    {
        platform::File holder = platform::File::OpenRead(friends.c_str(), /*exclusive=*/true);
        ASSERT_TRUE(holder.IsOpen());
        changes.Add({FolderChangeKind::kModified, friends});
        RefreshAddressBook(changes, book);
        EXPECT_EQ(Name(book, "pal@x"), "Renamed");
        changes.Add({FolderChangeKind::kUnknown, Root()});   // a whole rescan keeps them too
        RefreshAddressBook(changes, book);
        EXPECT_EQ(Name(book, "pal@x"), "Renamed");
    }
    EXPECT_TRUE(RefreshAddressBook(changes, book));
    EXPECT_EQ(Name(book, "pal@x"), "Held");
    EXPECT_FALSE(RefreshAddressBook(changes, book));

    // A new folder takes a rescan; so does losing track.
    Write("AddrBook/@A/New/Group.idx", Record("", "Newcomer", "new@x"));
    changes.Add({FolderChangeKind::kAdded, JoinPath(Root(), "@A\\New")});
    EXPECT_TRUE(RefreshAddressBook(changes, book));
    EXPECT_EQ(Name(book, "new@x"), "Newcomer");
    // A removed index takes its entries with it.
    ASSERT_TRUE(platform::DeleteFilePath(friends.c_str()));
    changes.Add({FolderChangeKind::kRemoved, friends});
    RefreshAddressBook(changes, book);
    EXPECT_NE(Name(book, "pal@x"), "Held");
}

TEST(QuoteDisplayNameTest, QuotingRules) {
    char out[64];
    QuoteDisplayName(out, sizeof out, "Plain Name");
    EXPECT_STREQ(out, "Plain Name");
    for (char c : std::string(",;:.@*()<>/?+|")) {
        std::string name = std::string("a") + c + "b";
        QuoteDisplayName(out, sizeof out, name.c_str());
        EXPECT_EQ(std::string(out), "\"" + name + "\"") << c;
    }
    QuoteDisplayName(out, sizeof out, "'Ann B.'");
    EXPECT_STREQ(out, "\"Ann B.\"");
    QuoteDisplayName(out, sizeof out, "'Ann'");   // nothing special inside
    EXPECT_STREQ(out, "'Ann'");
    QuoteDisplayName(out, sizeof out, "\"Ann, B\"");
    EXPECT_STREQ(out, "\"Ann, B\"");
    QuoteDisplayName(out, sizeof out, "");
    EXPECT_STREQ(out, "");

    // Length plus two must stay below the buffer size, else unchanged.
    char small[10];
    QuoteDisplayName(small, sizeof small, "a@bcdef");
    EXPECT_STREQ(small, "\"a@bcdef\"");
    QuoteDisplayName(small, sizeof small, "a@bcdefg");
    EXPECT_STREQ(small, "a@bcdefg");
    QuoteDisplayName(small, sizeof small, "a@bcdefghijkl");   // never overruns
    EXPECT_STREQ(small, "a@bcdefgh");
}

TEST(QuoteDisplayNameTest, QuotesAndBackslashesInsideAreEscapedAndReadBack) {
    char out[64];
    QuoteDisplayName(out, sizeof out, "Smith, Bob \"The Builder\"");
    EXPECT_STREQ(out, "\"Smith, Bob \\\"The Builder\\\"\"");
    QuoteDisplayName(out, sizeof out, "C:\\Users\\Ann, Admin");
    EXPECT_STREQ(out, "\"C:\\\\Users\\\\Ann, Admin\"");
    QuoteDisplayName(out, sizeof out, "'O\"Neil, A'");
    EXPECT_STREQ(out, "\"O\\\"Neil, A\"");
    // Escapes count towards the size: the unquoted name when they do not fit.
    char small[12];
    QuoteDisplayName(small, sizeof small, "a\\b\\c.def");
    EXPECT_STREQ(small, "a\\b\\c.def");

    for (const char* name : {"Smith, Bob \"The Builder\"", "C:\\Users\\Ann, Admin", "a\\"}) {
        QuoteDisplayName(out, sizeof out, name);
        EXPECT_EQ(UnquotedDisplayName(out), name);
    }
    EXPECT_EQ(UnquotedDisplayName("\"Jones, Carol\""), "Jones, Carol");

    // A name a reader would still be inside quotes at the end of would take
    // the address after it into the name: it is quoted whole, whether it
    // begins with a quote or not.
    for (const char* name : {"5\" floppy", "\"Ann, B", "a \"b\\\" c", "\"abc\\"}) {
        SCOPED_TRACE(name);
        QuoteDisplayName(out, sizeof out, name);
        EXPECT_EQ(out[0], '"');
        EXPECT_EQ(UnquotedDisplayName(out), name);
        EXPECT_EQ(AddressOf((std::string(out) + " <x@y>").c_str()), "x@y");
    }
    // A name that begins with a quote is left as it is only when a reader
    // finds no special character outside its quotes.
    QuoteDisplayName(out, sizeof out, "\"Smith, A\" Jr");
    EXPECT_STREQ(out, "\"Smith, A\" Jr");
    QuoteDisplayName(out, sizeof out, "\"Q\" 4a, b");
    EXPECT_STREQ(out, "\"\\\"Q\\\" 4a, b\"");
    EXPECT_EQ(UnquotedDisplayName(out), "\"Q\" 4a, b");
    std::string list = std::string(out) + " <x@y>, z@y";
    AddressCursor cursor(&list[0]);
    EXPECT_STREQ(NextAddressToken(cursor), (std::string(out) + " <x@y>").c_str());
    EXPECT_STREQ(NextAddressToken(cursor), "z@y");
    // Quotes inside a name are part of it: a reader would drop them from
    // words written bare.
    QuoteDisplayName(out, sizeof out, "Bob \"The Builder\" Jones");
    EXPECT_STREQ(out, "\"Bob \\\"The Builder\\\" Jones\"");
    EXPECT_EQ(UnquotedDisplayName("Plain"), "Plain");
    EXPECT_EQ(UnquotedDisplayName("\""), "\"");
}

TEST(QuoteDisplayNameTest, SpecialsBlanksAndEncodedWords) {
    char out[96];
    auto quote = [&](const char* name) {
        QuoteDisplayName(out, sizeof out, name);
        return std::string(out);
    };
    // Beyond the table of tricky lists (reply_rfc_lists).
    EXPECT_EQ(quote(" Ann"), "\" Ann\"");   // a reader drops the blank
    EXPECT_EQ(quote("=?UTF-8?B?5bGx55Sw?= =?iso-8859-1?Q?Andr=E9?="),
              "=?UTF-8?B?5bGx55Sw?= =?iso-8859-1?Q?Andr=E9?=");
    EXPECT_EQ(quote("Dr. =?utf-8?q?Fay?=  x"), "\"Dr.\" =?utf-8?q?Fay?= \" x\"");
    // What only looks like one is text, and quoted like any.
    for (const char* fake : {"=?broken?=", "=?utf-8?x?abc?=", "=?utf-8?b?QW5?=", "=?utf-8?q?a=ZZ?=",
                             "=?utf-8?q?a,b?=", "=?utf 8?q?ab?=", "=?utf-8?q?" "?="}) {
        SCOPED_TRACE(fake);
        EXPECT_EQ(quote(fake), "\"" + std::string(fake) + "\"");
    }
}

TEST(QuoteDisplayNameTest, DoubleByteTrailBytesAreNotSpecial) {
    // Yamada, ideographic space (81 40: its trail byte is '@'), Taro. Only
    // where 81 is a lead byte is the '@' part of a character.
    const std::string name = "\x8E\x52\x93\x63\x81\x40\x91\xBE\x98\x59";
    auto check = [&] {
        char out[64];
        QuoteDisplayName(out, sizeof out, name.c_str());
        if (platform::AnsiCodePage() == 932) {
            EXPECT_EQ(std::string(out), name);
        } else {
            EXPECT_EQ(std::string(out), "\"" + name + "\"");
        }
    };
    check();
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
    check();
    platform::testing::Reset();
#endif
}

TEST(QuoteDisplayNameTest, ALeadByteAtTheEndDoesNotTakeTheClosingQuote) {
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
#endif
    if (platform::AnsiCodePage() != 932) GTEST_SKIP() << "needs code page 932";
    // A name cut after the lead byte of a character (93): a reader would
    // take the closing quote for its second byte and read on into the
    // address. The lone byte is escaped, and read back as it was.
    for (const std::string name : {"Ann, \x93", "\"\x93", "\x93\x63, \x92"}) {
        char out[64];
        QuoteDisplayName(out, sizeof out, ("'" + name + "'").c_str());
        EXPECT_EQ(UnquotedDisplayName(out), name);
        EXPECT_EQ(AddressOf((std::string(out) + " <x@y>, z@y").c_str()), "x@y");
    }
#if !defined(_WIN32)
    platform::testing::Reset();
#endif
}

}  // namespace

namespace {

// A book on a share: its contents outside the "AddrBook" folder, reached
// through its Address.ini.
class ShareTest : public abtest::AddressBookTest {
protected:
    void SetUp() override {
        AddressBookTest::SetUp();
        Write("AddrBook/@Share/Address.ini", "[Settings]\r\nPath=" + At("share") + "\r\n");
        Write("share/Team/Group.idx", abtest::Record("", "Bob Jones", "bob@x"));
        Write("share/Zed/Group.idx", abtest::Record("", "Cid Young", "cid@x"));
    }
    std::string Name(SHalyardAddrBook& book, const char* address) {
        char name[kNameSize] = "";
        return book.FindName(address, name, "") ? name : "<not listed>";
    }
};

TEST_F(ShareTest, ABookAwayKeepsItsEntriesAndIsScannedAgainOnceBack) {
    SHalyardAddrBook book(Root().c_str());
    ASSERT_EQ(Name(book, "bob@x"), "Bob Jones");   // Team read, Zed not yet
    ASSERT_EQ(std::rename(At("share").c_str(), At("away").c_str()), 0);
    // The share is gone: a rescan keeps what the last one found, and the
    // index read before still answers; the one never read cannot be yet.
    book.Rebuild();
    EXPECT_EQ(Name(book, "bob@x"), "Bob Jones");
    EXPECT_EQ(Name(book, "cid@x"), "<not listed>");
    // Retried at each look-up while away: still the last good entries.
    book.RetryUnreadable();
    EXPECT_EQ(Name(book, "bob@x"), "Bob Jones");
    // Back, changed meanwhile: the next look-up's retry scans and reads again.
    ASSERT_EQ(std::rename(At("away").c_str(), At("share").c_str()), 0);
    Write("share/Team/Group.idx", abtest::Record("", "Bob Back", "bob@x") + abtest::Record("", "Dan", "dan@x"));
    AddressBookChanges changes;
    EXPECT_TRUE(RefreshAddressBook(changes, book));
    EXPECT_EQ(Name(book, "dan@x"), "Dan");
    EXPECT_EQ(Name(book, "cid@x"), "Cid Young");
    EXPECT_FALSE(RefreshAddressBook(changes, book));   // nothing left to retry
}

TEST_F(ShareTest, ABookAwayAtTheStartIsPickedUpOnceThere) {
    ASSERT_EQ(std::rename(At("share").c_str(), At("away").c_str()), 0);
    SHalyardAddrBook book(Root().c_str());
    AddressBookChanges changes;
    EXPECT_EQ(Name(book, "bob@x"), "<not listed>");
    RefreshAddressBook(changes, book);
    EXPECT_EQ(Name(book, "bob@x"), "<not listed>");
    ASSERT_EQ(std::rename(At("away").c_str(), At("share").c_str()), 0);
    EXPECT_TRUE(RefreshAddressBook(changes, book));
    EXPECT_EQ(Name(book, "bob@x"), "Bob Jones");
}

}  // namespace

namespace {

TEST_F(ShareTest, TheAddressBookFolderItselfAwayKeepsEveryBook) {
    Write("AddrBook/@Main/Friends/Group.idx", abtest::Record("", "Ann Smith", "ann@x"));
    SHalyardAddrBook book(Root().c_str());
    ASSERT_EQ(Name(book, "ann@x"), "Ann Smith");
    ASSERT_EQ(Name(book, "bob@x"), "Bob Jones");
    ASSERT_EQ(std::rename(Root().c_str(), At("gone").c_str()), 0);
    book.Rebuild();
    EXPECT_EQ(Name(book, "ann@x"), "Ann Smith");
    EXPECT_EQ(Name(book, "bob@x"), "Bob Jones");
    EXPECT_EQ(book.BookPaths().size(), 2u);
    ASSERT_EQ(std::rename(At("gone").c_str(), Root().c_str()), 0);
    Write("AddrBook/@Main/Friends/Group.idx", abtest::Record("", "Ann Back", "ann@x"));
    AddressBookChanges changes;
    EXPECT_TRUE(RefreshAddressBook(changes, book));
    EXPECT_EQ(Name(book, "ann@x"), "Ann Back");
}

}  // namespace
