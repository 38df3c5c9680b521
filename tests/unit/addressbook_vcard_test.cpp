#include <cstring>
#include <string>
#include <vector>

#include "addressbook/vcard.h"
#include "addressbook_fixture.h"

namespace {

using abtest::AddressBookTest;
using abtest::Card;

// Runs the pre-pass and the lookup over bytes, as SVCard does after loading.
struct Prepared {
    explicit Prepared(const std::string& bytes) : buffer(bytes.begin(), bytes.end()) {
        buffer.push_back('\0');
        PrepareVCardBuffer(buffer.data(), static_cast<uint32_t>(bytes.size()));
    }
    bool Find(const char* address, VCardFields* fields) const {
        return FindInVCardBuffer(buffer.data(), static_cast<uint32_t>(buffer.size() - 1), address,
                                 fields);
    }
    std::vector<char> buffer;
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
    // "=" then CR LF and a non-space: the value ends at the CR, "=" kept.
    Prepared soft(Card("FN;ENCODING=QUOTED-PRINTABLE:Ann=\r\nSmith\r\nEMAIL:a@x\r\n"));
    VCardFields f;
    ASSERT_TRUE(soft.Find("a@x", &f));
    EXPECT_EQ(Text(f.fullName), "Ann=");

    // A fold (CR LF space) belongs to the value and is kept literally.
    Prepared fold(Card("NOTE;ENCODING=QUOTED-PRINTABLE:=41\r\n =42\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(fold.Find("a@x", &f));
    EXPECT_EQ(Text(f.note), "A\r\n B");

    // A plain folded value keeps its first line only.
    Prepared plain(Card("NOTE:first\r\n second\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(plain.Find("a@x", &f));
    EXPECT_EQ(Text(f.note), "first");

    // An encoded ';' in N: stays inside the family name.
    Prepared name(Card("N;ENCODING=QUOTED-PRINTABLE:Fam=3BGiv\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(name.Find("a@x", &f));
    EXPECT_EQ(Text(f.familyName), "Fam;Giv");
    EXPECT_EQ(Text(f.givenName), "");

    // Decoded bytes may be anything, also Shift_JIS.
    Prepared sjis(Card("FN;ENCODING=QUOTED-PRINTABLE:=8E=52=93=63\r\nEMAIL:a@x\r\n"));
    ASSERT_TRUE(sjis.Find("a@x", &f));
    EXPECT_EQ(Text(f.fullName), "\x8E\x52\x93\x63");
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
    std::string file = Card("FN:Inet\r\nEMAIL;INTERNET:inet@x\r\n") +
                       Card("FN:Pref\r\nEMAIL;PREF:pref@x\r\n") +
                       Card("FN:TypePref\r\nEMAIL;TYPE=PREF:typepref@x\r\n") +
                       Card("FN:Plain\r\nEMAIL:Plain@Example.COM\r\n") +
                       Card("FN:Charset\r\nEMAIL;CHARSET=SHIFT_JIS:cs@x\r\n");
    Prepared card(file);
    VCardFields f;
    EXPECT_FALSE(card.Find("inet@x", &f));
    EXPECT_FALSE(card.Find("cs@x", &f));
    ASSERT_TRUE(card.Find("pref@x", &f));
    EXPECT_EQ(Text(f.fullName), "Pref");
    ASSERT_TRUE(card.Find("typepref@x", &f));
    EXPECT_EQ(Text(f.fullName), "TypePref");

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

    // The parameter at the very end of the buffer, with nothing after it.
    Prepared tail("FN;ENCODING=QUOTED-PRINTABLE:");
    EXPECT_FALSE(tail.Find("x", &f));
    // A value running to the end of the buffer, ending in "=4" and "=".
    Prepared endless("FN;ENCODING=QUOTED-PRINTABLE:=41=4");
    EXPECT_EQ(std::string(endless.buffer.data()), "FN:A=4");
    Prepared lone("N;ENCODING=QUOTED-PRINTABLE:=");
    EXPECT_EQ(std::string(lone.buffer.data()), "N:=");

    // A 64 KiB encoded value and a 64 KiB plain one.
    std::string big(65536, '\0');
    for (size_t i = 0; i < big.size(); i += 3) big.replace(i, 3, "=41");
    big.resize(65536);
    Prepared huge(Card("FN;ENCODING=QUOTED-PRINTABLE:" + big + "\r\nNOTE:" +
                       std::string(65536, 'n') + "\r\nEMAIL:big@x\r\n"));
    ASSERT_TRUE(huge.Find("big@x", &f));
    EXPECT_EQ(std::strlen(f.fullName), 65536u / 3 + 1);   // the last "=" has no digits left
    EXPECT_EQ(std::strlen(f.note), 65536u);

    // Bytes the host never writes: NULs and lone separators.
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
