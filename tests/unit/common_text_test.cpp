#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/base64.h"
#include "common/text.h"
#include "unit/common_locale.h"

namespace {

using Text = test::NativeReset;

std::string Bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

TEST(Base64, EncodesPaddingCasesAndReplacesOutput) {
    Base64Encoder enc;
    EXPECT_STREQ(enc.Encode("", -1), "");
    EXPECT_STREQ(enc.Encode("a", -1), "YQ==");
    EXPECT_STREQ(enc.Encode("ab", -1), "YWI=");
    EXPECT_STREQ(enc.Encode("abc", -1), "YWJj");
    EXPECT_STREQ(enc.Encode("abcdef", 4), "YWJjZA==");
    // Bytes above 0x7F and NULs inside the counted length.
    const char raw[] = {'\xff', '\0', '\xfe'};
    EXPECT_STREQ(enc.Encode(raw, 3), "/wD+");
    // A long input comes out whole.
    std::string long_input(3001, 'x');
    const char* out = enc.Encode(long_input.c_str(), -1);
    EXPECT_EQ(std::strlen(out), 4u * 1001);
    EXPECT_EQ(std::string(out).substr(std::strlen(out) - 4), "eA==");
    // The previous result as the next input is read before it is replaced.
    const char* once = enc.Encode("ab", -1);
    EXPECT_STREQ(enc.Encode(once, -1), "WVdJPQ==");
    EXPECT_STREQ(enc.Encode(enc.Encode("abc", -1) + 1, 2), "V0o=");
}

TEST(Base64, DecodesStrictlyAndRoundTrips) {
    std::string out = "untouched";
    ASSERT_TRUE(Base64Decode("", &out));
    EXPECT_EQ(out, "");
    ASSERT_TRUE(Base64Decode("YWJj", &out));
    EXPECT_EQ(out, "abc");
    ASSERT_TRUE(Base64Decode("YQ==", &out));
    EXPECT_EQ(out, "a");
    ASSERT_TRUE(Base64Decode("/wD+", &out));
    EXPECT_EQ(out, Bytes({0xff, 0x00, 0xfe}));
    Base64Encoder enc;
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    ASSERT_TRUE(Base64Decode(enc.Encode(all.data(), 256), &out));
    EXPECT_EQ(out, all);
    // Wrong lengths, stray characters, padding inside, and bits that a
    // padded group cannot carry (a second encoding of "a") are refused.
    out = "untouched";
    for (const char* bad : {"YQ", "YQ=", "Y===", "====", "YW=j", "YWJj\n", "YW Jj", "YR==", "YWI=YWJj",
                            "YW\x01j"}) {
        EXPECT_FALSE(Base64Decode(bad, &out)) << bad;
    }
    EXPECT_EQ(out, "untouched");
}

TEST(ShiftJis, ValidityAndHalfWidthKana) {
    size_t kana = 99;
    EXPECT_TRUE(IsShiftJis("", 0, &kana));
    EXPECT_EQ(kana, 0u);
    EXPECT_TRUE(IsShiftJis("Hello, world", 12, &kana));
    EXPECT_EQ(kana, 0u);
    // "日本" and half-width katakana "ｱｲ".
    std::string sjis = Bytes({0x93, 0xFA, 0x96, 0x7B, 0xB1, 0xB2});
    EXPECT_TRUE(IsShiftJis(sjis.data(), sjis.size(), &kana));
    EXPECT_EQ(kana, 2u);
    // A line break makes it not Shift_JIS, and so does a tab.
    std::string broken = Bytes({0x93, 0xFA, 0x0D, 0x0A, 0x96, 0x7B});
    EXPECT_FALSE(IsShiftJis(broken.data(), broken.size()));
    EXPECT_FALSE(IsShiftJis("a\tb", 3));
    // A lead byte at the end, or with a bad second byte.
    std::string lead_last = Bytes({0x41, 0x82});
    EXPECT_FALSE(IsShiftJis(lead_last.data(), lead_last.size()));
    std::string bad_trail = Bytes({0x82, 0x20});
    EXPECT_FALSE(IsShiftJis(bad_trail.data(), bad_trail.size()));
    // UTF-8 "あ" ends with a lead byte.
    std::string utf8_a = Bytes({0xE3, 0x81, 0x82});
    EXPECT_FALSE(IsShiftJis(utf8_a.data(), utf8_a.size()));
    // Bytes that are neither (0x80, 0xA0, 0xF0..).
    std::string stray = Bytes({0xF0, 0x40});
    EXPECT_FALSE(IsShiftJis(stray.data(), stray.size()));
}

TEST_F(Text, Utf8ToLocalUnderShiftJis) {
    if (!test::UseCodePage932()) GTEST_SKIP() << "needs code page 932";
    std::string utf8_a = Bytes({0xE3, 0x81, 0x82});
    char out[8];
    ASSERT_TRUE(Utf8ToLocal(utf8_a.data(), utf8_a.size(), out, sizeof out));
    EXPECT_EQ(std::string(out), Bytes({0x82, 0xA0}));
    // Needs 3 bytes with the terminator: 2 is too small and writes nothing.
    char small[2] = {'x', 'y'};
    EXPECT_FALSE(Utf8ToLocal(utf8_a.data(), utf8_a.size(), small, sizeof small));
    EXPECT_EQ(small[0], 'x');
    char exact[3];
    EXPECT_TRUE(Utf8ToLocal(utf8_a.data(), utf8_a.size(), exact, sizeof exact));
    EXPECT_FALSE(Utf8ToLocal("", 0, out, sizeof out));
    // A character outside code page 932 becomes '?'.
    std::string emoji = Bytes({0xF0, 0x9F, 0x98, 0x80});
    ASSERT_TRUE(Utf8ToLocal(emoji.data(), emoji.size(), out, sizeof out));
    EXPECT_EQ(std::string(out).find_first_not_of('?'), std::string::npos);
}

TEST_F(Text, ConvertIfUtf8UnderShiftJis) {
    if (!test::UseCodePage932()) GTEST_SKIP() << "needs code page 932";
    char out[64];
    // Pure ASCII is never converted.
    EXPECT_FALSE(ConvertIfUtf8("plain text", 10, out, sizeof out));
    EXPECT_FALSE(ConvertIfUtf8("", 0, out, sizeof out));
    // UTF-8 "山田" is taken as UTF-8 and converted to 8E 52 93 63.
    std::string yamada = Bytes({0xE5, 0xB1, 0xB1, 0xE7, 0x94, 0xB0});
    ASSERT_TRUE(ConvertIfUtf8(yamada.data(), yamada.size(), out, sizeof out));
    EXPECT_EQ(std::string(out), Bytes({0x8E, 0x52, 0x93, 0x63}));
    // Valid Shift_JIS without half-width kana stays as it is.
    std::string sjis = Bytes({0x8E, 0x52, 0x93, 0x63});
    EXPECT_FALSE(ConvertIfUtf8(sjis.data(), sjis.size(), out, sizeof out));
    // Shift_JIS with a line break is tried as UTF-8 and refused.
    std::string with_break = Bytes({0x8E, 0x52, 0x0D, 0x0A, 0x93, 0x63});
    EXPECT_FALSE(ConvertIfUtf8(with_break.data(), with_break.size(), out, sizeof out));
    // Shift_JIS half-width kana "ｱA" is not UTF-8 and must stay intact.
    std::string kana = Bytes({0xB1, 0x41});
    EXPECT_FALSE(ConvertIfUtf8(kana.data(), kana.size(), out, sizeof out));
    // Two characters missing from code page 932 give "??": refused.
    std::string two_emoji = Bytes({0xF0, 0x9F, 0x98, 0x80, 0xF0, 0x9F, 0x98, 0x81});
    EXPECT_FALSE(ConvertIfUtf8(two_emoji.data(), two_emoji.size(), out, sizeof out));
    // Too small an output: refused, nothing claimed.
    EXPECT_FALSE(ConvertIfUtf8(yamada.data(), yamada.size(), out, 4));
}

TEST_F(Text, ConvertIfUtf8UnderWesternCodePage) {
    if (!test::UseCodePage1252()) GTEST_SKIP() << "needs code page 1252";
    char out[64];
    // UTF-8 "Müller" becomes its single-byte form.
    std::string muller = "M\xC3\xBCller";
    ASSERT_TRUE(ConvertIfUtf8(muller.data(), muller.size(), out, sizeof out));
    EXPECT_EQ(std::string(out), "M\xFCller");
    // "Müller" already in code page 1252 is not UTF-8 and stays.
    std::string local = "M\xFCller";
    EXPECT_FALSE(ConvertIfUtf8(local.data(), local.size(), out, sizeof out));
    std::string cafe = "caf\xE9";
    EXPECT_FALSE(ConvertIfUtf8(cafe.data(), cafe.size(), out, sizeof out));
}

TEST_F(Text, CopyLocalTextOwnsConvertedOrOriginal) {
    EXPECT_EQ(CopyLocalText(nullptr), std::nullopt);
    EXPECT_EQ(CopyLocalText(""), "");
    EXPECT_EQ(CopyLocalText("Taro Yamada"), "Taro Yamada");
    if (test::UseCodePage932()) {
        std::string utf8 = "A" + Bytes({0xE3, 0x81, 0x82});
        EXPECT_EQ(CopyLocalText(utf8.c_str()), "A" + Bytes({0x82, 0xA0}));
        // UTF-8 that happens to pass the Shift_JIS test stays as it is.
        std::string lucky = Bytes({0xE3, 0x81, 0x82, 0x41});
        EXPECT_EQ(CopyLocalText(lucky.c_str()), lucky);
    }
    // A text longer than the 16 KiB work buffer is copied unconverted.
    std::string huge = std::string(17000, 'x') + "\xE3\x81\x82";
    EXPECT_TRUE(CopyLocalText(huge.c_str()) == huge);
}

TEST(FindNoCase, PositionsAndEdges) {
    EXPECT_EQ(FindNoCase("Please find the ATTACHED file", "attached"), 16u);
    EXPECT_EQ(FindNoCase("abc", ""), 0u);
    EXPECT_EQ(FindNoCase("", ""), 0u);
    EXPECT_EQ(FindNoCase("", "a"), std::string_view::npos);
    EXPECT_EQ(FindNoCase("ab", "abc"), std::string_view::npos);
    EXPECT_EQ(FindNoCase("xAbAbC", "abc"), 3u);
    EXPECT_EQ(FindNoCase("aXa", "b"), std::string_view::npos);
    // Counted views: nothing past the length is looked at.
    std::string_view cut("attach", 3);
    EXPECT_EQ(FindNoCase(cut, "attach"), std::string_view::npos);
}

TEST(SplitAt, SegmentsKeepEmptyOnes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitAt("a,b,", ','), (V{"a", "b", ""}));
    EXPECT_EQ(SplitAt(",a", ','), (V{"", "a"}));
    EXPECT_EQ(SplitAt("", ','), V{});
    EXPECT_EQ(SplitAt(",", ','), (V{"", ""}));
    EXPECT_EQ(SplitAt("a,,b", ','), (V{"a", "", "b"}));
    EXPECT_EQ(SplitAt("one", ','), (V{"one"}));
    EXPECT_EQ(SplitAt("x;y", ';'), (V{"x", "y"}));
}

TEST(QuotedPrintable, DecodesInPlaceAndZeroesTheTail) {
    char value[] = "=E3=81=82";
    size_t n = DecodeQuotedPrintable(value, 9);
    ASSERT_EQ(n, 3u);
    EXPECT_EQ(std::string(value, 3), "\xE3\x81\x82");
    for (size_t i = 3; i < 9; ++i) EXPECT_EQ(value[i], '\0');

    // An '=' without two more bytes inside the value is kept.
    char tail[] = "ab=4";
    EXPECT_EQ(DecodeQuotedPrintable(tail, 4), 4u);
    EXPECT_STREQ(tail, "ab=4");
    char edge[] = "=41=";
    EXPECT_EQ(DecodeQuotedPrintable(edge, 4), 2u);
    EXPECT_STREQ(edge, "A=");

    // Lower-case digits, letters beyond F and other bytes, kept to 8 bits.
    char lower[] = "=e9";
    EXPECT_EQ(DecodeQuotedPrintable(lower, 3), 1u);
    EXPECT_EQ(static_cast<unsigned char>(lower[0]), 0xE9);
    char wide[] = "=ZZ=-1";
    EXPECT_EQ(DecodeQuotedPrintable(wide, 6), 2u);
    EXPECT_EQ(static_cast<unsigned char>(wide[0]), (16 * 35 + 35) & 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(wide[1]), 1);

    // Only the given length is decoded.
    char partial[] = "=41=42";
    EXPECT_EQ(DecodeQuotedPrintable(partial, 3), 1u);
    EXPECT_EQ(std::string(partial, 6), std::string("A\0\0=42", 6));
}

TEST(AsciiCase, ComparisonsIgnoreOnlyAsciiCase) {
    EXPECT_EQ(CompareNoCaseAscii("Taro@Example.COM", "taro@example.com"), 0);
    EXPECT_LT(CompareNoCaseAscii("abc", "abd"), 0);
    EXPECT_GT(CompareNoCaseAscii("abcd", "ABC"), 0);
    EXPECT_NE(CompareNoCaseAscii("\xC9", "\xE9"), 0);   // not locale folding
    EXPECT_TRUE(EqualNoCaseAscii("MIME-Version", "mime-version"));
    EXPECT_FALSE(EqualNoCaseAscii("abc", "abcd"));
    EXPECT_FALSE(EqualNoCaseAscii("[", "{"));
}

TEST(CopyBounded, CutsAndTerminates) {
    char out[5];
    EXPECT_EQ(CopyBounded(out, sizeof out, "abcdefgh"), 4u);
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(CopyBounded(out, sizeof out, "ab"), 2u);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(CopyBounded(out, 1, "ab"), 0u);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(CopyBounded(out, 0, "ab"), 0u);
}

TEST_F(Text, JoinPathAddsOneSeparator) {
    EXPECT_EQ(JoinPath("C:\\data", "AddrBook"), "C:\\data\\AddrBook");
    EXPECT_EQ(JoinPath("C:\\data\\", "AddrBook"), "C:\\data\\AddrBook");
    EXPECT_EQ(JoinPath("C:\\data\\", "\\AddrBook"), "C:\\data\\AddrBook");
    EXPECT_EQ(JoinPath("", "AddrBook"), "AddrBook");
    if (test::UseCodePage932()) {
        // "表" is 95 5C: its second byte is not a separator.
        std::string dir = "C:\\\x95\x5C";
        EXPECT_EQ(JoinPath(dir, "x"), dir + "\\x");
    }
}

}  // namespace
