#include <string>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook_fixture.h"
#include "common/text.h"

namespace {

using abtest::Card;
using abtest::Record;

// The host's layout: books of every kind, one with its contents elsewhere,
// ".svn" folders, entries that are not books.
class FoldersTest : public abtest::AddressBookTest {
protected:
    void SetUp() override {
        AddressBookTest::SetUp();
        Write("AddrBook/@Personal/Friends/Group.idx", Record("f.vcf", "Friend", "f@x"));
        Write("AddrBook/@Personal/Friends/Close/Group.idx", Record("c.vcf", "Close", "c@x"));
        Write("AddrBook/@Personal/Friends2/Group.idx", Record("", "Friend Two", "f2@x"));
        Write("AddrBook/@Personal/.svn/Group.idx", Record("", "Hidden", "h@x"));
        Write("AddrBook/@Personal/.svn/deep/Group.idx", Record("", "Hidden", "h@x"));
        Write("AddrBook/@Personal/work/.SVN/Group.idx", Record("", "Shown", "s@x"));
        Write("AddrBook/@Personal/loose.txt", "not a folder");
        Write("AddrBook/@Private/Address.ini", "[Settings]\r\nPath=" + Elsewhere() + "\r\n");
        Write("AddrBook/@Private/Ignored/Group.idx", Record("", "Ignored", "i@x"));
        Write("Elsewhere/Friends/Group.idx", Record("", "Private Friend", "pf@x"));
        Write("AddrBook/^Shared/Team/Group.idx", Record("", "Team", "t@x"));
        Write("AddrBook/~Mobile/Phones/Group.idx", Record("", "Phone", "p@x"));
        Write("AddrBook/Plain/Folder/Group.idx", Record("", "Plain", "pl@x"));
        Write("AddrBook/@file", "a file, not a book");
    }

    std::string Elsewhere() const { return At("Elsewhere"); }
    std::string Book(const char* name) const { return JoinPath(Root(), name); }
    // The host's data folder ends in a backslash.
    std::string DataFolder() const { return JoinPath(dir_.Path(), ""); }
    void Link(const std::string& value) {
        Write("Mail/Inbox/Folder.ini", "[Settings]\r\nAddrGrp=" + value + "\r\n");
    }
};

struct Visit {
    std::vector<std::string> paths;
    std::string stopAt;
};

bool Record_(const FolderNode& node, const char* fullPath, void* context) {
    auto* visit = static_cast<Visit*>(context);
    visit->paths.push_back(fullPath);
    return node.name == visit->stopAt;
}

TEST_F(FoldersTest, ScanFindsBooksAndTheirContentPaths) {
    SAddressBook book(Root().c_str());
    std::vector<std::string> expected = {Book("@Personal"), Elsewhere(), Book("^Shared"),
                                         Book("~Mobile")};
    EXPECT_EQ(book.BookContentPaths(), expected);
    ASSERT_EQ(book.BookPaths().size(), 4u);
    EXPECT_EQ(book.BookPaths().at("@Private"), Elsewhere());
    EXPECT_EQ(book.BookPaths().at("~Mobile"), Book("~Mobile"));
    EXPECT_EQ(book.RootPath(), Root());
}

TEST_F(FoldersTest, WalkOrderSkipsExactlyDotSvn) {
    SAddressBook book(Root().c_str());
    Visit visit;
    EXPECT_FALSE(book.ForEachFolder(Record_, &visit));
    std::string personal = Book("@Personal");
    std::vector<std::string> expected = {
        JoinPath(personal, "Friends"),
        JoinPath(JoinPath(personal, "Friends"), "Close"),
        JoinPath(personal, "Friends2"),
        JoinPath(personal, "work"),
        JoinPath(JoinPath(personal, "work"), ".SVN"),
        JoinPath(Elsewhere(), "Friends"),
        JoinPath(Book("^Shared"), "Team"),
        JoinPath(Book("~Mobile"), "Phones"),
    };
    EXPECT_EQ(visit.paths, expected);

    // A visitor that answers true ends the walk there.
    Visit stop;
    stop.stopAt = "Friends2";
    EXPECT_TRUE(book.ForEachFolder(Record_, &stop));
    EXPECT_EQ(stop.paths.size(), 3u);

    // The same rules below one folder.
    const FolderNode* friends = nullptr;
    book.ForEachFolder(
        [](const FolderNode& node, const char*, void* context) {
            if (node.name != "Friends") return false;
            *static_cast<const FolderNode**>(context) = &node;
            return true;
        },
        &friends);
    ASSERT_NE(friends, nullptr);
    Visit below;
    std::string friendsPath = JoinPath(personal, "Friends");
    EXPECT_FALSE(book.ForEachSubfolder(*friends, friendsPath.c_str(), Record_, &below));
    EXPECT_EQ(below.paths, std::vector<std::string>{JoinPath(friendsPath, "Close")});
}

TEST_F(FoldersTest, NoBooksMeansNothingToWalk) {
    SAddressBook missing(At("NoSuchFolder").c_str());
    Visit visit;
    EXPECT_FALSE(missing.ForEachFolder(Record_, &visit));
    EXPECT_TRUE(visit.paths.empty());
    EXPECT_TRUE(missing.BookContentPaths().empty());

    Write("Empty/AddrBook/Plain/Group.idx", Record("", "n", "a@x"));
    SAddressBook noBooks(At("Empty/AddrBook").c_str());
    EXPECT_FALSE(noBooks.ForEachFolder(Record_, &visit));
    EXPECT_TRUE(visit.paths.empty());
}

TEST_F(FoldersTest, RebuildSeesNewFoldersAndEmptiesTheCache) {
    SAddressBook book(Root().c_str());
    std::string index = JoinPath(JoinPath(Book("@Personal"), "Friends"), "Group.idx");
    SGroupIndex* first = book.GetGroupIndex(index.c_str());
    EXPECT_EQ(book.GetGroupIndex(index.c_str()), first);   // cached
    EXPECT_STREQ(first->Lookup("f@x", nullptr), "Friend");

    // Changes on disk are not seen until the next rebuild.
    Write("AddrBook/@Personal/Friends/Group.idx", Record("f.vcf", "Renamed", "f@x"));
    Write("AddrBook/@Personal/New/Group.idx", Record("", "New", "n@x"));
    EXPECT_STREQ(book.GetGroupIndex(index.c_str())->Lookup("f@x", nullptr), "Friend");
    Visit before;
    book.ForEachFolder(Record_, &before);

    book.Rebuild();
    EXPECT_STREQ(book.GetGroupIndex(index.c_str())->Lookup("f@x", nullptr), "Renamed");
    Visit after;
    book.ForEachFolder(Record_, &after);
    EXPECT_EQ(after.paths.size(), before.paths.size() + 1);
}

TEST_F(FoldersTest, FolderLinks) {
    SAddressBook book(Root().c_str());
    std::string data = DataFolder();
    const char* mail = "Mail\\Inbox\\";

    Link("Private:Friends");
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail), JoinPath(Elsewhere(), "Friends"));
    Link("Personal:Friends\\Close");
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail),
              JoinPath(Book("@Personal"), "Friends\\Close"));
    // Only '@' books can be named; unknown books, missing parts and short
    // values give nothing.
    for (const char* value : {"Mobile:Phones", "~Mobile:Phones", "Shared:Team", "Nobody:Friends",
                              "Personal", "Personal:", ":Friends", "P"}) {
        Link(value);
        EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail), "") << value;
    }
    Write("Mail/Inbox/Folder.ini", "[Settings]\r\n");
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail), "");

    // The book part must be under 255 bytes.
    std::string longBook(254, 'b');
    Write("AddrBook/@" + longBook.substr(0, 100) + "/F/Group.idx", Record("", "n", "a@x"));
    book.Rebuild();
    Link(longBook.substr(0, 100) + ":F");
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail),
              JoinPath(Book(("@" + longBook.substr(0, 100)).c_str()), "F"));
    Link(std::string(255, 'b') + ":F");
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail), "");
    Link(longBook + ":F");
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail), "");   // no such book

    // Data folder and mail folder together must stay under 256 bytes.
    Link("Private:Friends");
    std::string longMail(256 - data.size() - 2, 'm');
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), longMail.c_str()), "");
    EXPECT_EQ(book.ResolveFolderGroup(data.c_str(), mail), JoinPath(Elsewhere(), "Friends"));
}

TEST_F(FoldersTest, IndexRecords) {
    Write("idx/Group.idx",
          Record("", "Ann", "ann@x") + Record("", "Ann Again", "ann@x") +
              Record("", "", "empty@x") + Record("", "Case", "Case@X"));
    SGroupIndex index(At("idx/Group.idx").c_str());
    EXPECT_STREQ(index.Lookup("ann@x", nullptr), "Ann");   // the first record wins
    EXPECT_STREQ(index.Lookup("empty@x", nullptr), "");
    EXPECT_EQ(index.Lookup("nobody@x", nullptr), nullptr);
    EXPECT_EQ(index.Lookup("case@x", nullptr), nullptr);
    ChooseCompareAddress(true);
    EXPECT_STREQ(index.Lookup("case@x", nullptr), "Case");
    ChooseCompareAddress(false);

    // A record with four TABs ends the lookup, even before a good record.
    Write("four/Group.idx", "id\t0\tc.vcf\tShort\tshort@x\r\n" + Record("", "Later", "later@x"));
    SGroupIndex four(At("four/Group.idx").c_str());
    EXPECT_EQ(four.Lookup("later@x", nullptr), nullptr);

    // The last line without CR LF still counts when it matches.
    Write("last/Group.idx", Record("", "First", "first@x") + "id\t0\t\tLast\tlast@x\t0");
    SGroupIndex last(At("last/Group.idx").c_str());
    EXPECT_STREQ(last.Lookup("last@x", nullptr), "Last");
    EXPECT_EQ(last.Lookup("st@x", nullptr), nullptr);   // occurs in the file, in no record

    SGroupIndex missing(At("none/Group.idx").c_str());
    EXPECT_EQ(missing.Contents(), nullptr);
    EXPECT_EQ(missing.Lookup("ann@x", nullptr), nullptr);
}

TEST_F(FoldersTest, OverLongIndexFields) {
    std::string name1023(1023, 'n');
    std::string name1024(1024, 'n');
    std::string addr1023(1019, 'a');
    addr1023 += "@x.y";
    std::string addr1024 = "a" + addr1023;
    Write("long/Group.idx", Record("", name1023, "ok@x") + Record("", name1024, "late@x"));
    SGroupIndex names(At("long/Group.idx").c_str());
    EXPECT_EQ(std::string(names.Lookup("ok@x", nullptr)), name1023);
    EXPECT_EQ(names.Lookup("late@x", nullptr), nullptr);   // the long name ends the lookup

    Write("addr/Group.idx", Record("", "Fits", addr1023) + Record("", "Big", addr1024) +
                                Record("", "After", "after@x"));
    SGroupIndex addresses(At("addr/Group.idx").c_str());
    EXPECT_STREQ(addresses.Lookup(addr1023.c_str(), nullptr), "Fits");
    EXPECT_EQ(addresses.Lookup(addr1024.c_str(), nullptr), nullptr);
    EXPECT_EQ(addresses.Lookup("after@x", nullptr), nullptr);

    // A card file name of 513 bytes is no name: the display name still comes.
    Write("card/Group.idx", Record(std::string(513, 'c'), "Named", "c@x"));
    SGroupIndex cards(At("card/Group.idx").c_str());
    auto item = std::make_unique<SVcardItem>();   // a lookup without a card clears it
    EXPECT_STREQ(cards.Lookup("c@x", &item), "Named");
    EXPECT_EQ(item, nullptr);

#if !defined(_WIN32)
    // An index in a directory longer than 255 bytes: its cards are out of
    // reach, its names are not.
    std::string deep;
    while (deep.size() < 300) deep += std::string(50, 'd') + "/";
    Write(deep + "Group.idx", Record("c.vcf", "Deep", "c@x"));
    Write(deep + "c.vcf", Card("FN:Deep Card\r\nEMAIL:c@x\r\n"));
    SGroupIndex deepIndex(At(deep + "Group.idx").c_str());
    EXPECT_STREQ(deepIndex.Lookup("c@x", &item), "Deep");
    EXPECT_EQ(item, nullptr);
#endif

    // A 64 KiB index with the match at its end.
    std::string big;
    while (big.size() < 65536) big += Record("", "Filler", "filler@x");
    Write("big/Group.idx", big + Record("", "End", "end@x"));
    SGroupIndex bigIndex(At("big/Group.idx").c_str());
    EXPECT_STREQ(bigIndex.Lookup("end@x", nullptr), "End");
}

TEST_F(FoldersTest, CardsOfIndexRecords) {
    Write("g/Group.idx", Record("ann.vcf", "Ann", "ann@x") + Record("gone.vcf", "Gone", "gone@x") +
                             Record("other.vcf", "Other", "other@x"));
    Write("g/ann.vcf", Card("FN:Ann Card\r\nORG:Acme;Sales\r\nN:Smith;Ann\r\nNOTE:hi\r\n"
                            "EMAIL:ann@x\r\n"));
    Write("g/other.vcf", Card("FN:Other Card\r\nEMAIL:someone-else@x\r\n"));
    SGroupIndex index(At("g/Group.idx").c_str());

    std::unique_ptr<SVcardItem> item;
    ASSERT_STREQ(index.Lookup("ann@x", &item), "Ann");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->fullName, "Ann Card");
    EXPECT_EQ(item->address, "ann@x");
    EXPECT_EQ(item->organization, "Acme");
    EXPECT_EQ(item->unit, "Sales");
    EXPECT_EQ(item->familyName, "Smith");
    EXPECT_EQ(item->givenName, "Ann");
    EXPECT_EQ(item->note, "hi");

    // A missing card file, or one without the address: the name, no card.
    EXPECT_STREQ(index.Lookup("gone@x", &item), "Gone");
    EXPECT_EQ(item, nullptr);
    EXPECT_STREQ(index.Lookup("other@x", &item), "Other");
    EXPECT_EQ(item, nullptr);

    // Cards read are cached until the index goes; a card that could not be
    // read is read again by the next look-up that wants it.
    Write("g/gone.vcf", Card("FN:Now There\r\nEMAIL:gone@x\r\n"));
    Write("g/ann.vcf", Card("FN:Changed\r\nEMAIL:ann@x\r\n"));
    EXPECT_STREQ(index.Lookup("gone@x", &item), "Gone");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->fullName, "Now There");
    index.Lookup("ann@x", &item);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->fullName, "Ann Card");
    SGroupIndex fresh(At("g/Group.idx").c_str());
    fresh.Lookup("gone@x", &item);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->fullName, "Now There");
}

TEST_F(FoldersTest, DisplayNameCharsets) {
    if (!abtest::UseJapaneseCodePage()) GTEST_SKIP() << "needs code page 932";
    const std::string sjisName = "\x8E\x52\x93\x63";          // Yamada in Shift_JIS
    const std::string utf8Name = "\xE5\xB1\xB1\xE7\x94\xB0";  // the same in UTF-8
    const std::string kana = "\xB1\xB2\xB3";                  // half-width katakana
    Write("cs/Group.idx", Record("", sjisName, "sjis@x") + Record("", utf8Name, "utf8@x") +
                              Record("", kana, "kana@x") + Record("", "Plain", "plain@x"));
    SGroupIndex index(At("cs/Group.idx").c_str());
    EXPECT_EQ(std::string(index.Lookup("sjis@x", nullptr)), sjisName);
    EXPECT_EQ(std::string(index.Lookup("utf8@x", nullptr)), sjisName);
    EXPECT_EQ(std::string(index.Lookup("kana@x", nullptr)), kana);
    EXPECT_EQ(std::string(index.Lookup("plain@x", nullptr)), "Plain");

    // Card values get the same repair.
    Write("cs/c.vcf", Card("FN:" + utf8Name + "\r\nNOTE:" + kana + "\r\nORG:Acme\r\nEMAIL:c@x\r\n"));
    Write("cs/Group.idx", Record("c.vcf", "C", "c@x"));
    SGroupIndex cards(At("cs/Group.idx").c_str());
    std::unique_ptr<SVcardItem> item;
    cards.Lookup("c@x", &item);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->fullName, sjisName);
    EXPECT_EQ(item->note, kana);
    EXPECT_EQ(item->organization, "Acme");
}

}  // namespace
