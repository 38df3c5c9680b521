#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "addressbook/display_name.h"
#include "addressbook/halyard_addr_book.h"
#include "addressbook_fixture.h"
#include "common/sizes.h"
#include "host/host_api.h"
#include "settings/settings.h"

namespace {

using abtest::Record;

std::vector<std::string> Tokens(std::string list) {
    std::vector<std::string> tokens;
    AddressCursor cursor(&list[0]);
    for (char* t = NextAddressToken(cursor); t; t = NextAddressToken(cursor)) tokens.push_back(t);
    return tokens;
}

struct Split {
    std::string name;
    std::string address;
};

Split SplitOf(const char* token, size_t size = kNameSize) {
    std::vector<char> name(size, 'X');
    std::vector<char> address(size, 'X');
    SplitAddress(name.data(), size, address.data(), size, token);
    return {name.data(), address.data()};
}

using V = std::vector<std::string>;

TEST(AddressTokenizerTest, Tokens) {
    EXPECT_EQ(Tokens("a, b;c"), (V{"a", "b", "c"}));
    EXPECT_EQ(Tokens("\"Smith, John\" <john@x>, b"), (V{"\"Smith, John\" <john@x>", "b"}));
    EXPECT_EQ(Tokens("(a comment) x, y"), (V{"x", "y"}));
    EXPECT_EQ(Tokens("(unclosed x, y"), V{});
    EXPECT_EQ(Tokens("x (a, b; c), y"), (V{"x (a, b; c)", "y"}));
    EXPECT_EQ(Tokens("x (a)(b,c) z, y"), (V{"x (a)(b,c) z", "y"}));
    EXPECT_EQ(Tokens(" \t,,; \r\n"), V{});
    EXPECT_EQ(Tokens(""), V{});
    EXPECT_EQ(Tokens("  a \t ,\r\n b  "), (V{"a", "b"}));
    // Inside quotes a parenthesis is text.
    EXPECT_EQ(Tokens("\"a (b\" <x>, y"), (V{"\"a (b\" <x>", "y"}));
    EXPECT_EQ(Tokens("\"open, never closed"), V{"\"open, never closed"});
    // After the end nothing is remembered.
    std::string list = "only";
    AddressCursor cursor(&list[0]);
    EXPECT_STREQ(NextAddressToken(cursor), "only");
    EXPECT_EQ(NextAddressToken(cursor), nullptr);
    EXPECT_EQ(NextAddressToken(cursor), nullptr);
    AddressCursor none(nullptr);
    EXPECT_EQ(NextAddressToken(none), nullptr);
}

TEST(AddressTokenizerTest, InterleavedWalksKeepTheirOwnPositions) {
    // A list read while another one's walk is suspended (inside a message
    // box) leaves that walk where it was.
    std::string first = "a@x, b@x, c@x";
    std::string second = "y@x; z@x";
    AddressCursor outer(&first[0]);
    EXPECT_STREQ(NextAddressToken(outer), "a@x");
    AddressCursor inner(&second[0]);
    EXPECT_STREQ(NextAddressToken(inner), "y@x");
    EXPECT_STREQ(NextAddressToken(outer), "b@x");
    EXPECT_STREQ(NextAddressToken(inner), "z@x");
    EXPECT_EQ(NextAddressToken(inner), nullptr);
    EXPECT_STREQ(NextAddressToken(outer), "c@x");
    EXPECT_EQ(NextAddressToken(outer), nullptr);
}

TEST(AddressTokenizerTest, GroupLabelsAreDroppedAndEmptyGroupsYieldNothing) {
    EXPECT_EQ(Tokens("undisclosed-recipients:;"), V{});
    EXPECT_EQ(Tokens("Ann <a@x>, undisclosed-recipients:;"), V{"Ann <a@x>"});
    EXPECT_EQ(Tokens("team: a@x, Bob <b@x>;, c@x"), (V{"a@x", "Bob <b@x>", "c@x"}));
    EXPECT_EQ(Tokens("\"My: team\" : a@x;"), V{"a@x"});
    // A colon after an address, in quotes, in angle brackets or in a
    // comment is no label; neither is one that starts the token.
    EXPECT_EQ(Tokens("@\"Main:Friends\", a@x"), (V{"@\"Main:Friends\"", "a@x"}));
    EXPECT_EQ(Tokens("\"a:b\" <a@x>"), V{"\"a:b\" <a@x>"});
    EXPECT_EQ(Tokens("Ann <x:a@x>"), V{"Ann <x:a@x>"});
    EXPECT_EQ(Tokens("a@x (re: b)"), V{"a@x (re: b)"});
    EXPECT_EQ(Tokens(":a@x"), V{":a@x"});
}

// Beyond the table of tricky lists (reply_rfc_lists): what is left open,
// routes without their relays, and where a comment names an address.
TEST(AddressTokenizerTest, OpenCommentsRoutesAndCommentOnlyMembers) {
    EXPECT_EQ(Tokens("a@x (b, c@x"), V{"a@x (b, c@x"});   // takes in the rest
    EXPECT_EQ(Tokens("(a (b) c, d@x"), V{});              // leaves nothing
    EXPECT_EQ(Tokens("<@r.x, b@x>"), (V{"<@r.x", "b@x>"}));   // no relay follows
    EXPECT_EQ(Tokens("g: (none) (at all);, c@x, (note)"), V{"c@x"});
    EXPECT_EQ(Tokens("(a) :b@x"), V{":b@x"});   // no words before the colon: no label
    // An encoded word is one word, whatever it holds.
    EXPECT_EQ(Tokens("=?utf-8?q?a,b?= <c@x>, d@x"), (V{"=?utf-8?q?a,b?= <c@x>", "d@x"}));
    EXPECT_EQ(Tokens("=?utf-8?q?a, b?= <c@x>"), (V{"=?utf-8?q?a", "b?= <c@x>"}));
}

TEST(SplitAddressTest, CommentsAroundTheAddress) {
    Split s = SplitOf("(Note) n@x");
    EXPECT_EQ(s.name, "Note");
    EXPECT_EQ(s.address, "n@x");
    s = SplitOf("(c1) n@x (Name) (c2)");
    EXPECT_EQ(s.name, "Name");
    EXPECT_EQ(s.address, "n@x");
    s = SplitOf("\"Dr.\"John <js@x>");   // words that touch are joined without a blank
    EXPECT_EQ(s.name, "Dr.John");
    s = SplitOf("Fay <(f@x)>");   // nothing but a comment inside: kept as written
    EXPECT_EQ(s.address, "(f@x)");
}

TEST(AddressTokenizerTest, QuotedPairsDoNotEndAQuotedName) {
    EXPECT_EQ(Tokens("\"Bob \\\"The, Builder\\\"\" <b@x>, c@x"),
              (V{"\"Bob \\\"The, Builder\\\"\" <b@x>", "c@x"}));
    EXPECT_EQ(Tokens("\"C:\\\\Ann, Admin\" <a@x>, c@x"), (V{"\"C:\\\\Ann, Admin\" <a@x>", "c@x"}));
    // Outside quotes a backslash is a plain byte.
    EXPECT_EQ(Tokens("a\\, b"), (V{"a\\", "b"}));
    // Inside quotes a parenthesis opens no comment: an escaped quote after
    // it still does not end the name.
    EXPECT_EQ(Tokens("\"a (b \\\" c, d\" <x@y>, e@f"), (V{"\"a (b \\\" c, d\" <x@y>", "e@f"}));
    EXPECT_EQ(Tokens("\"a (b\\\"), c\\\"\" <x@y>; e@f"), (V{"\"a (b\\\"), c\\\"\" <x@y>", "e@f"}));
    // Outside quotes a comment still runs to its parenthesis.
    EXPECT_EQ(Tokens("x@y (a \"b, c) d\", e@f"), (V{"x@y (a \"b, c) d\", e@f"}));
}

TEST(AddressTokenizerTest, DoubleByteCharactersAreSkippedWhole) {
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
#endif
    if (platform::AnsiCodePage() == 932) {
        EXPECT_EQ(Tokens("\x81,b"), V{"\x81,b"});   // 81 is a lead byte: ',' is its trail
        EXPECT_EQ(Tokens("\x8E\x52\x93\x63 <y@x>, z"), (V{"\x8E\x52\x93\x63 <y@x>", "z"}));
    } else {
        EXPECT_EQ(Tokens("\x81,b"), (V{"\x81", "b"}));
    }
#if !defined(_WIN32)
    platform::testing::Reset();
    EXPECT_EQ(Tokens("\x81,b"), (V{"\x81", "b"}));
#endif
}

TEST(SplitAddressTest, Forms) {
    Split s = SplitOf("\"Smith, John\" <john@x>");
    EXPECT_EQ(s.name, "Smith, John");
    EXPECT_EQ(s.address, "john@x");
    s = SplitOf("x (Some Name)");
    EXPECT_EQ(s.name, "Some Name");
    EXPECT_EQ(s.address, "x");
    s = SplitOf("<x>");
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.address, "x");
    s = SplitOf(" \tAnn Lee \t <  ann@x \t>");
    EXPECT_EQ(s.name, "Ann Lee");
    EXPECT_EQ(s.address, "ann@x");
    s = SplitOf("bare@x");
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.address, "bare@x");
    s = SplitOf("Ann <ann@x");
    EXPECT_EQ(s.address, "ann@x");
    s = SplitOf("Ann <>");
    EXPECT_EQ(s.name, "Ann");
    EXPECT_EQ(s.address, "");
    s = SplitOf("Ann <>>a@x>");
    EXPECT_EQ(s.address, "a@x");
    s = SplitOf("\"a<b\" <c@x>");
    EXPECT_EQ(s.name, "a<b");
    EXPECT_EQ(s.address, "c@x");
    s = SplitOf("\"\"<c@x>");
    EXPECT_EQ(s.name, "");
    s = SplitOf("\"\" <c@x>");
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.address, "c@x");
    s = SplitOf("\"Bob \\\"The <Builder>\\\" C:\\\\x\" <b@x>");
    EXPECT_EQ(s.name, "Bob \"The <Builder>\" C:\\x");
    EXPECT_EQ(s.address, "b@x");
    s = SplitOf("(Only A Name)");
    EXPECT_EQ(s.name, "Only A Name");
    EXPECT_EQ(s.address, "");
    s = SplitOf("");
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.address, "");
    s = SplitOf("Ann <a@x> (comment)");
    EXPECT_EQ(s.address, "a@x");
    EXPECT_EQ(s.name, "Ann");
}

TEST(SplitAddressTest, OverLongPartsAreCut) {
    std::string longName(2000, 'n');
    std::string longAddress(2000, 'a');
    std::string token = longName + " <" + longAddress + ">";
    Split s = SplitOf(token.c_str());
    EXPECT_EQ(s.name, std::string(kNameSize - 1, 'n'));
    EXPECT_EQ(s.address, std::string(kNameSize - 1, 'a'));
    s = SplitOf(token.c_str(), 1024);
    EXPECT_EQ(s.name.size(), 1023u);
    EXPECT_EQ(s.address.size(), 1023u);
    // Cut right after a space: the trailing blank goes, the rest stays.
    std::string spaced = std::string(1026, 'a') + "  b";
    s = SplitOf(spaced.c_str());
    EXPECT_EQ(s.address, std::string(1026, 'a'));
    std::string list(kListSize - 1, 'z');
    s = SplitOf(list.c_str());
    EXPECT_EQ(s.address.size(), kNameSize - 1);
}

// Stand-in of the host's conversion: Shift_JIS to ISO-2022-JP, in a block
// released through the host's Free.
int g_freed = 0;
std::string g_jisInput;
char* HALYARD_WINAPI FakeIso2022Jp(const char* text, HostBool encode) {
    if (!encode) return nullptr;
    g_jisInput = text;
    std::string jis;
    bool kanji = false;
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        bool lead = (*p >= 0x81 && *p <= 0x9F) || (*p >= 0xE0 && *p <= 0xEF);
        if (lead && p[1]) {
            if (!kanji) jis += "\x1b$B";
            kanji = true;
            unsigned c1 = p[0] >= 0xE0 ? p[0] - 0x40 : p[0];
            unsigned c2 = *++p;
            unsigned j1 = (c1 - 0x81) * 2 + 0x21;
            unsigned j2;
            if (c2 >= 0x9F) {
                ++j1;
                j2 = c2 - 0x7E;
            } else {
                j2 = c2 - (c2 >= 0x80 ? 0x20 : 0x1F);
            }
            jis += static_cast<char>(j1);
            jis += static_cast<char>(j2);
        } else {
            if (kanji) jis += "\x1b(B";
            kanji = false;
            jis += static_cast<char>(*p);
        }
    }
    if (kanji) jis += "\x1b(B";
    char* result = new char[jis.size() + 1];
    std::memcpy(result, jis.c_str(), jis.size() + 1);
    return result;
}
void HALYARD_WINAPI FakeFree(void* block) {
    ++g_freed;
    delete[] static_cast<char*>(block);
}

class FormatTest : public abtest::AddressBookTest {
protected:
    void SetUp() override {
        AddressBookTest::SetUp();
        host_.ISO_2022_JP = FakeIso2022Jp;
        host_.Free = FakeFree;
        g_freed = 0;
    }
    std::string Format(const char* name, const char* address, bool encode = false) {
        char out[2 * kNameSize + 32];
        FormatAddress(out, sizeof out, name, address, encode, settings_, &host_);
        return out;
    }
    SSettings settings_{SSettings::DefaultsTag{}};
    HostApi host_;
};

TEST_F(FormatTest, FormatsAndGroupDomains) {
    EXPECT_EQ(Format("Ann", "ann@x"), "Ann <ann@x>");   // ReplyFormat 2 by default
    settings_.replyFormat = 3;
    EXPECT_EQ(Format("Ann", "ann@x"), "ann@x (Ann)");
    settings_.replyFormat = 1;
    EXPECT_EQ(Format("Ann", "ann@x"), "ann@x");
    settings_.replyFormat = 7;
    EXPECT_EQ(Format("Ann", "ann@x"), "ann@x");
    settings_.replyFormat = 0;
    settings_.hostAddressFormat = MapHostAddressFormat(1);
    EXPECT_EQ(Format("Ann", "ann@x"), "ann@x (Ann)");
    settings_.hostAddressFormat = MapHostAddressFormat(2);
    EXPECT_EQ(Format("Ann", "ann@x"), "ann@x");

    settings_.replyFormat = 2;
    settings_.domains.Append("example.org");
    settings_.groupFormat = 1;
    EXPECT_EQ(Format("Ann", "ann@example.org"), "ann@example.org");
    EXPECT_EQ(Format("Ann", "ann@sub.example.org"), "Ann <ann@sub.example.org>");
    EXPECT_EQ(Format("Ann", "ann@Example.org"), "Ann <ann@Example.org>");
    EXPECT_EQ(Format("Ann", "ann@example.org.uk"), "Ann <ann@example.org.uk>");
    settings_.groupFormat = 3;
    EXPECT_EQ(Format("Ann", "ann@example.org"), "ann@example.org (Ann)");
    settings_.groupFormat = 0;
    EXPECT_EQ(Format("Ann", "ann@example.org"), "ann@example.org");   // host format 1

    EXPECT_EQ(Format("Smith, John", "j@x"), "\"Smith, John\" <j@x>");
    EXPECT_EQ(Format("'Ann B.'", "j@x"), "\"Ann B.\" <j@x>");
}

TEST_F(FormatTest, ANameWithAClosingParenthesisNeverStandsInParentheses) {
    // In "address (name)" the name's ")" would end the comment early: the
    // rest of it, and the recipients after it, would be read as something
    // else. Such a recipient takes the form name <address>.
    settings_.replyFormat = 3;
    EXPECT_EQ(Format("Smith (Sales)", "s@x"), "\"Smith (Sales)\" <s@x>");
    EXPECT_EQ(Format("a)b", "s@x"), "\"a)b\" <s@x>");
    EXPECT_EQ(Format("Smith (Sales)", ""), "\"Smith (Sales)\" <>");
    // A reader takes the comment's text as the name: quotes there would be
    // part of it, and a lone "(" would open a comment that never ends.
    EXPECT_EQ(Format("(Sales", "s@x"), "\"(Sales\" <s@x>");
    EXPECT_EQ(Format("Smith, Ann", "s@x"), "s@x (Smith, Ann)");
    EXPECT_EQ(Format("\"Jones, Carol\"", "s@x"), "s@x (Jones, Carol)");
    EXPECT_EQ(Format("C:\\Ann", "s@x"), "\"C:\\\\Ann\" <s@x>");
    EXPECT_EQ(Format("Ann", "s@x", true), "s@x (=?ISO-2022-JP?B?QW5u?=)");
}

TEST_F(FormatTest, RecipientsThatWouldNotFit) {
    std::string address = "a@x";
    // name + address + 4 must stay below 1028.
    std::string fits(1028 - 4 - address.size() - 1, 'n');
    std::string tooLong = fits + "n";
    EXPECT_EQ(Format(fits.c_str(), address.c_str()), fits + " <a@x>");
    EXPECT_EQ(Format(tooLong.c_str(), address.c_str()), address);
    settings_.replyFormat = 3;
    EXPECT_EQ(Format(tooLong.c_str(), address.c_str()), address);
    // Quoting adds two bytes and can push a name over; in a comment the
    // name stands unquoted.
    std::string quoted = std::string(fits.size() - 1, 'n') + ",";
    EXPECT_EQ(Format(quoted.c_str(), address.c_str()), address + " (" + quoted + ")");
    settings_.replyFormat = 2;
    EXPECT_EQ(Format(quoted.c_str(), address.c_str()), address);
}

TEST_F(FormatTest, EncodedNames) {
    EXPECT_EQ(Format("Ann", "ann@x", true), "=?ISO-2022-JP?B?QW5u?= <ann@x>");
    EXPECT_EQ(Format("Smith, J", "j@x", true), "=?ISO-2022-JP?B?U21pdGgsIEo=?= <j@x>");
    // Already encoded words are written as they are.
    EXPECT_EQ(Format("=?UTF-8?B?5bGx55Sw?=", "y@x", true), "=?UTF-8?B?5bGx55Sw?= <y@x>");
    EXPECT_EQ(Format("=?iso-2022-jp?b?GyRCOzNFRBsoQg==?= =?US-ASCII?Q?Taro?=", "y@x", true),
              "=?iso-2022-jp?b?GyRCOzNFRBsoQg==?= =?US-ASCII?Q?Taro?= <y@x>");
    // Something that only looks like one is encoded.
    // An encoded word beside plain words is header text already.
    EXPECT_EQ(Format("=?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= Taro", "y@x", true),
              "=?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= Taro <y@x>");
    EXPECT_EQ(Format("=?broken?=", "y@x", true), "=?ISO-2022-JP?B?PT9icm9rZW4/PQ==?= <y@x>");
    // The quotes that set a name apart are no part of it once encoded.
    EXPECT_EQ(Format("\"Dr. Bob\"", "b@x", true), "=?ISO-2022-JP?B?RHIuIEJvYg==?= <b@x>");
    EXPECT_EQ(Format("\"a \\\"b\\\\\"", "b@x", true), "=?ISO-2022-JP?B?YSAiYlw=?= <b@x>");
    // An empty name is not encoded.
    EXPECT_EQ(Format("", "y@x", true), " <y@x>");
    EXPECT_EQ(g_freed, 0);
}

TEST_F(FormatTest, NonAsciiNamesAreConvertedFirst) {
    const char* sjis = "\x8E\x52\x93\x63";   // Yamada
    if (abtest::UseJapaneseCodePage()) {
        // Through the host into ISO-2022-JP, the host's text released.
        EXPECT_EQ(Format(sjis, "y@x", true), "=?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <y@x>");
        EXPECT_EQ(g_jisInput, sjis);
        EXPECT_EQ(g_freed, 1);
        // Without the host's conversion, UTF-8 carries it.
        host_.ISO_2022_JP = nullptr;
        EXPECT_EQ(Format(sjis, "y@x", true), "=?UTF-8?B?5bGx55Sw?= <y@x>");
        host_.ISO_2022_JP = FakeIso2022Jp;
    }
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(1252);
#endif
    if (platform::AnsiCodePage() == 1252) {
        g_freed = 0;
        EXPECT_EQ(Format("Jos\xE9", "j@x", true), "=?UTF-8?B?Sm9zw6k=?= <j@x>");
        EXPECT_EQ(g_freed, 0);   // the host is not asked
    }
}

TEST_F(FormatTest, EncodedNamesThatWouldNotFit) {
    // Encoding makes a name a third longer: 800 bytes fit as plain text,
    // not encoded.
    std::string name(800, 'n');
    EXPECT_EQ(Format(name.c_str(), "a@x"), name + " <a@x>");
    EXPECT_EQ(Format(name.c_str(), "a@x", true), "a@x");
    // Beyond the 4096-byte name buffer.
    std::string huge(3100, 'n');
    EXPECT_EQ(Format(huge.c_str(), "a@x", true), "a@x");
    std::string hugeNonAscii(3100, '\xE9');
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(1252);
#endif
    EXPECT_EQ(Format(hugeNonAscii.c_str(), "a@x", true), "a@x");
    std::string longWord = "=?UTF-8?B?" + std::string(4100, 'A') + "?=";
    EXPECT_EQ(Format(longWord.c_str(), "a@x", true), "a@x");
}

std::vector<std::string> g_reported;
void Report(const char* token) { g_reported.push_back(token); }

class RewriteTest : public FormatTest {
protected:
    void SetUp() override {
        FormatTest::SetUp();
        g_reported.clear();
        Write("AddrBook/@B/People/Group.idx",
              Record("", "Ann", "ann@x") + Record("", "Carol, C", "carol@x") +
                  Record("", "", "empty@x"));
        book_ = std::make_unique<SHalyardAddrBook>(Root().c_str());
    }
    std::string Rewrite(const char* list, bool encode = false, size_t size = kListSize) {
        std::vector<char> out(size, 'X');
        ok_ = RewriteAddressList(list, encode, "", Report, out.data(), size, settings_, book_.get(),
                                 &host_);
        return out.data();
    }
    std::unique_ptr<SHalyardAddrBook> book_;
    bool ok_ = false;
};

TEST_F(RewriteTest, EveryAddressGetsItsListedName) {
    std::string out = Rewrite("\"Old Name\" <ann@x>, bob@x; <carol@x>,Dave <dave@x>, empty@x");
    EXPECT_TRUE(ok_);
    EXPECT_EQ(out, "Ann <ann@x>,bob@x,\"Carol, C\" <carol@x>,Dave <dave@x>,empty@x");
    EXPECT_EQ(g_reported, (V{"bob@x", "Dave <dave@x>"}));

    settings_.replyFormat = 1;
    EXPECT_EQ(Rewrite("Dave <dave@x>, ann@x"), "dave@x,ann@x");
    settings_.replyFormat = 2;
    EXPECT_EQ(Rewrite("<x>"), "x");
    EXPECT_EQ(Rewrite("Ann <ann@x>", true), "=?ISO-2022-JP?B?QW5u?= <ann@x>");

    // A token without an address is kept as its (empty) address, unreported.
    g_reported.clear();
    EXPECT_EQ(Rewrite("ann@x, Name <>"), "Ann <ann@x>,Name <>");
    EXPECT_TRUE(g_reported.empty());
}

TEST_F(RewriteTest, NamesHoldingParenthesesAndQuotesStayOneRecipient) {
    // The list reads back as the same recipients, however the name is written.
    const char* names[] = {"a (b \" c, d", "x (\"y\"), z", "(\"), q", "5\" floppy", "\"Ann"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::string list = QuotedString(name) + " <n@x>";
        char quoted[kNameSize];
        QuoteDisplayName(quoted, sizeof quoted, name);
        const std::string expected = std::string(quoted) + " <n@x>";
        EXPECT_EQ(Rewrite((list + ", o@x").c_str()), expected + ",o@x");
        EXPECT_EQ(Tokens(expected + ", o@x"), (V{expected, "o@x"}));
    }
}

TEST_F(RewriteTest, AParenthesisInANameLosesNoRecipientInEveryForm) {
    for (int format : {2, 3}) {
        SCOPED_TRACE(format);
        settings_.replyFormat = format;
        const std::string out = Rewrite("\"Smith (Sales)\" <s@x>, b@x, \"x)\" <>, Cy (C) <c@x>");
        EXPECT_EQ(Tokens(out).size(), 4u) << out;
        std::vector<std::string> addresses;
        for (const std::string& token : Tokens(out)) addresses.push_back(AddressOf(token.c_str()));
        EXPECT_EQ(addresses, (V{"s@x", "b@x", "", "c@x"})) << out;
    }
}

TEST_F(RewriteTest, AnEntryThatWouldNotReadBackKeepsItsText) {
    // Written bare, "(x@y)" would be a comment and the recipient lost.
    EXPECT_EQ(Rewrite("<(x@y)>, b@x"), "<(x@y)>,b@x");
    EXPECT_TRUE(ok_);
    // Unlisted names are written so that they read back as they were read.
    EXPECT_EQ(Rewrite("\"\\\"Al\\\" Cy\" <a@y>, 'Bo' <b@y>, \"a  b\" <c@y>"),
              "\"\\\"Al\\\" Cy\" <a@y>,'Bo' <b@y>,\"a  b\" <c@y>");
    // Nothing that keeps every recipient: the list stays as it was. Each
    // entry of the second list reads back alone, but joined the first
    // would run into the second as one encoded word.
    EXPECT_EQ(Rewrite("a: b: c@x;"), "");
    EXPECT_FALSE(ok_);
    EXPECT_EQ(Rewrite("=?a?q?x, y?=@z"), "");
    EXPECT_FALSE(ok_);
}

TEST_F(RewriteTest, EmptyListsAndNoIndex) {
    Rewrite(nullptr);
    EXPECT_FALSE(ok_);
    EXPECT_EQ(Rewrite(""), "");
    EXPECT_FALSE(ok_);
    EXPECT_EQ(Rewrite(" , ;"), "");
    EXPECT_FALSE(ok_);
    EXPECT_EQ(Rewrite("<>"), "");
    EXPECT_FALSE(ok_);

    book_.reset();
    g_reported.clear();
    EXPECT_EQ(Rewrite("ann@x, Zed <z@x>"), "ann@x,Zed <z@x>");
    EXPECT_TRUE(ok_);
    EXPECT_EQ(g_reported, (V{"ann@x", "Zed <z@x>"}));
}

TEST_F(RewriteTest, ListsThatWouldNotFit) {
    // Entry + current length + 2 may reach the buffer size, not exceed it.
    EXPECT_EQ(Rewrite("abc,def", false, 8), "abc,def");
    EXPECT_TRUE(ok_);
    EXPECT_EQ(Rewrite("abc,defg", false, 8), "");
    EXPECT_FALSE(ok_);

    // A list near 64 KiB: as long again when rewritten, longer when encoded.
    std::string list;
    for (int i = 0; list.size() + 26 < kListSize; ++i) {
        char token[32];
        std::snprintf(token, sizeof token, "%sAnn <a%05d@example.com>", list.empty() ? "" : ",", i);
        list += token;
    }
    EXPECT_EQ(Rewrite(list.c_str()), list);
    EXPECT_TRUE(ok_);
    EXPECT_EQ(Rewrite(list.c_str(), true), "");
    EXPECT_FALSE(ok_);
}

}  // namespace
