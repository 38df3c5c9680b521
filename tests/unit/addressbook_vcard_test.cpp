#include <cstring>
#include <string>
#include <vector>

#include "addressbook/vcard.h"
#include "addressbook_fixture.h"

namespace {

using abtest::AddressBookTest;
using abtest::Card;

// Reads card bytes and looks up in them, as SVCard does after loading.
struct Prepared {
    explicit Prepared(const std::string& bytes) : cards(ReadVCards(bytes)) {}
    bool Find(const char* address, VCardFields* fields) const {
        return FindInVCards(cards, address, fields);
    }
    std::vector<VCardEntry> cards;
};

std::string Text(const char* s) { return s ? std::string(s) : std::string("<absent>"); }

class VCardTest : public AddressBookTest {};

TEST_F(VCardTest, QuotedPrintableValuesDecodeWithinTheirValue) {
    Prepared card(Card("FN;ENCODING=QUOTED-PRINTABLE:=41=42c\r\n"
                       "NOTE;ENCODING=QUOTED-PRINTABLE:x=4\r\n"
                       "EMAIL:a@example.com\r\n"));
    VCardFields f;
    ASSERT_TRUE(card.Find("a@example.com", &f));
    EXPECT_EQ(Text(f.fullName), "ABc");
    // Fewer than three bytes left: "=4" stays, the CR is not taken as a digit.
    EXPECT_EQ(Text(f.note), "x=4");
}

TEST_F(VCardTest, SoftBreaksFoldsAndEncodedSemicolons) {
    // "=" at the end of a quoted-printable line joins the next line.
    Prepared soft(Card("FN;ENCODING=QUOTED-PRINTABLE:Ann=\r\nSmith\r\nEMAIL:a@x\r\n"));
    VCardFields f;
    ASSERT_TRUE(soft.Find("a@x", &f));
    EXPECT_EQ(Text(f.fullName), "AnnSmith");

    // Folds are undone first, in quoted-printable values (also after a soft
    // break) and plain ones alike.
    Prepared fold(Card("NOTE;ENCODING=QUOTED-PRINTABLE:=41\r\n =42=\r\n\t=43\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(fold.Find("a@x", &f));
    EXPECT_EQ(Text(f.note), "ABC");
    Prepared plain(Card("NOTE:first\r\n second\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(plain.Find("a@x", &f));
    EXPECT_EQ(Text(f.note), "firstsecond");

    // A soft break before an empty line, or at the end of the file, ends the
    // value there.
    Prepared blank(Card("NOTE;QUOTED-PRINTABLE:x=\r\n\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(blank.Find("a@x", &f));
    EXPECT_EQ(Text(f.note), "x=");

    // An encoded ';' in N: stays inside the family name.
    Prepared name(Card("N;ENCODING=QUOTED-PRINTABLE:Fam=3BGiv\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(name.Find("a@x", &f));
    EXPECT_EQ(Text(f.familyName), "Fam;Giv");
    EXPECT_EQ(Text(f.givenName), "");

    // Decoded bytes may be anything, also Shift_JIS.
    Prepared sjis(Card("FN;ENCODING=QUOTED-PRINTABLE:=8E=52=93=63\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(sjis.Find("a@x", &f));
    if (abtest::UseJapaneseCodePage()) {
        EXPECT_EQ(Text(f.fullName), "\x8E\x52\x93\x63");
    }
}

TEST_F(VCardTest, LinesNamesAndParameters) {
    // LF and CR line ends: a one-component ORG does not take the next line.
    for (const char* end : {"\n", "\r"}) {
        std::string card = std::string("BEGIN:VCARD") + end + "VERSION:2.1" + end +
                           "ORG:Lotus" + end + "ADR:;;1 Main St" + end + "N:Doe" + end +
                           "NOTE;QUOTED-PRINTABLE:a=" + end + "b" + end +
                           "EMAIL:a@x" + end + "END:VCARD" + end;
        Prepared lf(card);
        VCardFields f;
        ASSERT_TRUE(lf.Find("a@x", &f)) << static_cast<int>(end[0]);
        EXPECT_EQ(Text(f.organization), "Lotus");
        EXPECT_EQ(Text(f.unit), "");
        EXPECT_EQ(Text(f.familyName), "Doe");
        EXPECT_EQ(Text(f.givenName), "");
        EXPECT_EQ(Text(f.note), "ab");
    }

    // Names without case, groups passed over, parameters of any kind and
    // order, quoted parameter values holding ':' and ';'.
    Prepared card("begin:vcard\r\nversion:3.0\r\n"
                  "item1.n;LANGUAGE=en-us;X-Y=\"a:b;c\":Doe;John\r\n"
                  "Fn;Charset=us-ascii:John Doe\r\n"
                  "item2.org;type=work:ACME\r\n"
                  "email;internet:one@x\r\n"
                  "EMAIL;PREF;INTERNET:two@x\r\n"
                  "item3.EMAIL;type=INTERNET;type=pref:three@x\r\n"
                  "EMAIL;TYPE=\"work,internet\";PREF=1:four@x\r\n"
                  "X-EMAIL:five@x\r\n"
                  "EMAIL ; INTERNET : six@x\t\r\n"
                  "EMAIL;X-Q=\"open:seven@x\r\n"
                  "end:vcard\r\n");
    VCardFields f;
    for (const char* address : {"one@x", "two@x", "three@x", "four@x", "six@x", "seven@x"}) {
        ASSERT_TRUE(card.Find(address, &f)) << address;
        EXPECT_EQ(Text(f.familyName), "Doe");
        EXPECT_EQ(Text(f.givenName), "John");
        EXPECT_EQ(Text(f.fullName), "John Doe");
        EXPECT_EQ(Text(f.organization), "ACME");
    }
    EXPECT_FALSE(card.Find("five@x", &f));
    // A byte-order mark before BEGIN does not hide the card.
    EXPECT_TRUE(Prepared("\xEF\xBB\xBF" + Card("EMAIL:bom@x\r\n")).Find("bom@x", &f));
}

TEST_F(VCardTest, EscapesAndPreferredLines) {
    // 3.0 and 4.0 undo \, \; \\ and \n; N and ORG split at unescaped ';' only.
    Prepared modern("BEGIN:VCARD\r\nVERSION:3.0\r\n"
                    "FN:Mr. First \\; special \\, middle\\\\Last\\nNext\\x\r\n"
                    "ORG:ABC\\, Inc.;Sales Dept.\\;Manager;Third\r\n"
                    "N:a\\\\;b\r\nEMAIL:m@x\r\nEND:VCARD\r\n");
    VCardFields f;
    ASSERT_TRUE(modern.Find("m@x", &f));
    EXPECT_EQ(Text(f.fullName), "Mr. First ; special , middle\\Last\r\nNext\\x");
    EXPECT_EQ(Text(f.organization), "ABC, Inc.");
    EXPECT_EQ(Text(f.unit), "Sales Dept.;Manager");
    EXPECT_EQ(Text(f.familyName), "a\\");
    EXPECT_EQ(Text(f.givenName), "b");

    // 2.1 knows \; only; an unescaped ';' in FN is part of the name.
    Prepared legacy(Card("FN:A\\, B;C\\nD\r\nORG:X\\;Y;Z\r\nEMAIL:l@x\r\n"));
    ASSERT_TRUE(legacy.Find("l@x", &f));
    EXPECT_EQ(Text(f.fullName), "A\\, B;C\\nD");
    EXPECT_EQ(Text(f.organization), "X;Y");
    EXPECT_EQ(Text(f.unit), "Z");

    // A later line replaces an earlier one unless that one is preferred;
    // the lower PREF number wins.
    Prepared pref("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:First\r\nFN:Second\r\n"
                  "ORG;PREF=2:Two\r\nORG;PREF=1:One\r\nORG:Plain\r\nORG;PREF=3:Three\r\n"
                  "N;TYPE=pref:Pref;P\r\nN:Later;L\r\nEMAIL:p@x\r\nEND:VCARD\r\n");
    ASSERT_TRUE(pref.Find("p@x", &f));
    EXPECT_EQ(Text(f.fullName), "Second");
    EXPECT_EQ(Text(f.organization), "One");
    EXPECT_EQ(Text(f.familyName), "Pref");

    // Base64 text, as 3.0 ("b") and 2.1 (BASE64) write it.
    Prepared base64("BEGIN:VCARD\r\nVERSION:3.0\r\nFN;ENCODING=b:Wm9lIEJh\r\n c2U=\r\n"
                    "NOTE;BASE64:bm90ZQ==\r\nEMAIL:b@x\r\nEND:VCARD\r\n");
    ASSERT_TRUE(base64.Find("b@x", &f));
    EXPECT_EQ(Text(f.fullName), "Zoe Base");
    EXPECT_EQ(Text(f.note), "note");
}

TEST_F(VCardTest, CharsetsIntoTheAnsiCodePage) {
    const std::string sjisFamily = "\x95\x5C";                 // a kanji whose second byte is '\\'
    const std::string sjisGiven = "\x91\xBE\x98\x59";        // Taro
    const std::string utf8Sato = "\xE4\xBD\x90\xE8\x97\xA4";  // passes the Shift_JIS test
    const std::string sjisSato = "\x8D\xB2\x93\xA1";
    const std::string file =
        Card("N;CHARSET=SHIFT_JIS:" + sjisFamily + ";" + sjisGiven + "\r\nEMAIL:sjis@x\r\n") +
        Card("N:" + sjisFamily + ";" + sjisGiven + "\r\nEMAIL:host@x\r\n") +
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + utf8Sato + "\r\nEMAIL:utf8@x\r\nEND:VCARD\r\n" +
        Card("FN;CHARSET=UTF-8:\x8D\xB2\r\nEMAIL:lie@x\r\n") +
        Card("FN;CHARSET=X-UNKNOWN:" + utf8Sato + "\r\nEMAIL:unknown@x\r\n");
    VCardFields f;
    if (abtest::UseJapaneseCodePage()) {
        // Japanese: Shift_JIS stays, its trail byte 0x5C is no escape.
        const Prepared cards(file);
        for (const char* address : {"sjis@x", "host@x"}) {
            ASSERT_TRUE(cards.Find(address, &f)) << address;
            EXPECT_EQ(Text(f.familyName), sjisFamily) << address;
            EXPECT_EQ(Text(f.givenName), sjisGiven) << address;
        }
        // 3.0 text is UTF-8 even where it would pass for Shift_JIS ...
        ASSERT_TRUE(cards.Find("utf8@x", &f));
        EXPECT_EQ(Text(f.fullName), sjisSato);
        // ... but bytes that are no UTF-8, or an unknown charset, go to the
        // repair, which keeps what passes for Shift_JIS.
        ASSERT_TRUE(cards.Find("lie@x", &f));
        EXPECT_EQ(Text(f.fullName), "\x8D\xB2");
        ASSERT_TRUE(cards.Find("unknown@x", &f));
        EXPECT_EQ(Text(f.fullName), utf8Sato);
    }
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(1252);
#endif
    if (platform::AnsiCodePage() == 1252) {
        Prepared western(Card("FN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Jos=E9\r\nEMAIL:latin@x\r\n") +
                         Card("FN;CHARSET=UTF-8:Jos\xC3\xA9\r\nN;CHARSET=SHIFT_JIS:" + sjisFamily +
                              "\r\nEMAIL:utf8@x\r\n"));
        ASSERT_TRUE(western.Find("latin@x", &f));
        EXPECT_EQ(Text(f.fullName), "Jos\xE9");
        ASSERT_TRUE(western.Find("utf8@x", &f));
        EXPECT_EQ(Text(f.fullName), "Jos\xE9");
        EXPECT_EQ(Text(f.familyName), "?");   // no form in this code page
    }
}

TEST_F(VCardTest, PropertiesOfTheMatchingCard) {
    Prepared card(Card("N:Yamada;Taro;;;\r\n"
                       "FN:Taro Yamada\r\n"
                       "ORG:Acme;Sales\r\n"
                       "NOTE:old\r\n"
                       "NOTE:new\r\n"
                       "EMAIL;PREF:taro@example.com\r\n"));
    VCardFields f;
    ASSERT_TRUE(card.Find("taro@example.com", &f));
    EXPECT_EQ(Text(f.familyName), "Yamada");
    EXPECT_EQ(Text(f.givenName), "Taro");
    EXPECT_EQ(Text(f.fullName), "Taro Yamada");
    EXPECT_EQ(Text(f.organization), "Acme");
    EXPECT_EQ(Text(f.unit), "Sales");
    EXPECT_EQ(Text(f.note), "new");   // a later line of the same kind wins

    // ORG without a unit: the unit is the empty string after it.
    Prepared noUnit(Card("ORG:Acme\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(noUnit.Find("a@x", &f));
    EXPECT_EQ(Text(f.organization), "Acme");
    EXPECT_EQ(Text(f.unit), "");
    EXPECT_EQ(Text(f.fullName), "<absent>");
}

TEST_F(VCardTest, AddressPrefixesAndCase) {
    // Every address line counts, whatever its parameters.
    std::string file = Card("FN:Inet\r\nEMAIL;INTERNET:inet@x\r\n") +
                       Card("FN:Pref\r\nEMAIL;PREF:pref@x\r\n") +
                       Card("FN:TypePref\r\nEMAIL;TYPE=PREF:typepref@x\r\n") +
                       Card("FN:Plain\r\nEMAIL:Plain@Example.COM\r\n") +
                       Card("FN:Charset\r\nEMAIL;CHARSET=SHIFT_JIS:cs@x\r\n");
    Prepared card(file);
    VCardFields f;
    ASSERT_TRUE(card.Find("inet@x", &f));
    EXPECT_EQ(Text(f.fullName), "Inet");
    ASSERT_TRUE(card.Find("cs@x", &f));
    EXPECT_EQ(Text(f.fullName), "Charset");
    ASSERT_TRUE(card.Find("pref@x", &f));
    EXPECT_EQ(Text(f.fullName), "Pref");
    ASSERT_TRUE(card.Find("typepref@x", &f));
    EXPECT_EQ(Text(f.fullName), "TypePref");
    // The address value itself: not a TEL or a parameter.
    EXPECT_FALSE(card.Find("PREF", &f));

    EXPECT_FALSE(card.Find("plain@example.com", &f));
    ChooseCompareAddress(true);
    ASSERT_TRUE(card.Find("plain@example.com", &f));
    EXPECT_EQ(Text(f.fullName), "Plain");
}

TEST_F(VCardTest, FirstClosedCardWins) {
    Prepared twice(Card("FN:First\r\nEMAIL:same@x\r\n") + Card("FN:Second\r\nEMAIL:same@x\r\n"));
    VCardFields f;
    ASSERT_TRUE(twice.Find("same@x", &f));
    EXPECT_EQ(Text(f.fullName), "First");

    // Properties of an earlier card do not leak into a later one.
    Prepared two(Card("FN:Other\r\nNOTE:n\r\nEMAIL:o@x\r\n") + Card("EMAIL:me@x\r\n"));
    ASSERT_TRUE(two.Find("me@x", &f));
    EXPECT_EQ(Text(f.fullName), "<absent>");
    EXPECT_EQ(Text(f.note), "<absent>");

    // A 2.1 AGENT's card belongs to the card around it.
    Prepared agent(Card("EMAIL:boss@x\r\nAGENT:\r\n" + Card("FN:Agent\r\nEMAIL:agent@x\r\n") +
                        "FN:Boss\r\n"));
    ASSERT_TRUE(agent.Find("boss@x", &f));
    EXPECT_EQ(Text(f.fullName), "Boss");
    EXPECT_FALSE(agent.Find("agent@x", &f));

    // Not closed by END: never matches.
    Prepared open("BEGIN:VCARD\r\nFN:Open\r\nEMAIL:open@x\r\n");
    EXPECT_FALSE(open.Find("open@x", &f));
    Prepared empty("");
    EXPECT_FALSE(empty.Find("open@x", &f));
}

TEST_F(VCardTest, FilesAndBoundaries) {
    Write("card.vcf", Card("FN:From File\r\nEMAIL:file@x\r\n"));
    SVCard fromFile(At("card.vcf").c_str());
    VCardFields f;
    ASSERT_NE(fromFile.Contents(), nullptr);
    ASSERT_TRUE(fromFile.FindByAddress("file@x", &f));
    EXPECT_EQ(Text(f.fullName), "From File");

    SVCard missing(At("missing.vcf").c_str());
    EXPECT_EQ(missing.Contents(), nullptr);
    EXPECT_FALSE(missing.FindByAddress("file@x", &f));

    // A value running to the end of the file, ending in "=4" and "=".
    Prepared endless("BEGIN:\r\nEMAIL:e@x\r\nN;ENCODING=QUOTED-PRINTABLE:=\r\n\r\n"
                     "FN;ENCODING=QUOTED-PRINTABLE:=41=4\r\nEND:");
    ASSERT_TRUE(endless.Find("e@x", &f));
    EXPECT_EQ(Text(f.fullName), "A=4");
    EXPECT_EQ(Text(f.familyName), "=");
    EXPECT_TRUE(Prepared("BEGIN:\nEMAIL:e@x\nEND:\nN;QUOTED-PRINTABLE:=").Find("e@x", &f));
    EXPECT_FALSE(Prepared("FN;ENCODING=QUOTED-PRINTABLE:").Find("", &f));

    // A 64 KiB encoded value and a 64 KiB plain one.
    std::string big(65536, '\0');
    for (size_t i = 0; i < big.size(); i += 3) big.replace(i, 3, "=41");
    big.resize(65536 - 2);   // "=4" at the end: no digits left to decode
    Prepared huge(Card("FN;ENCODING=QUOTED-PRINTABLE:" + big + "\r\nNOTE:" +
                       std::string(65536, 'n') + "\r\nEMAIL:big@x\r\n"));
    ASSERT_TRUE(huge.Find("big@x", &f));
    EXPECT_EQ(std::strlen(f.fullName), 65534u / 3 + 2);
    ASSERT_NE(f.note, nullptr);
    EXPECT_EQ(std::strlen(f.note), 65536u);

    // Bytes the host never writes: NULs end lines too.
    const char odd_bytes[] = "BEGIN:\0EMAIL:z@x\r;;\n\0END:";
    Prepared odd(std::string(odd_bytes, sizeof odd_bytes - 1));
    ASSERT_TRUE(odd.Find("z@x", &f));
}

TEST_F(VCardTest, ItemOrganizations) {
    SVcardItem a;
    a.fullName = "Ann";
    a.organization = "Acme";
    SVcardItem b = a;
    EXPECT_TRUE(a.SameOrganization(b));

    // An absent unit equals an empty one; a different unit does not.
    b.unit = "";
    EXPECT_TRUE(a.SameOrganization(b));
    b.unit = "S";
    EXPECT_FALSE(a.SameOrganization(b));
    b.organization.reset();
    b.unit.reset();
    EXPECT_FALSE(a.SameOrganization(b));
}

}  // namespace
