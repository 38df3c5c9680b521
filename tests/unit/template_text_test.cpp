// Columns of a compose text as the ANSI code page counts them, whatever the
// window holds, and finding an expanded listing again after the user typed.
#include <gtest/gtest.h>

#include <string>

#include "template/text_span.h"
#include "template/text_width.h"
#include "unit/common_locale.h"

namespace {

constexpr const char* kEmoji = "\xF0\x9F\x98\x80";       // U+1F600, in no ANSI code page
constexpr const char* kCircledOne = "\xE2\x91\xA0";      // "①": 87 40 in 932, not in 1252
constexpr const char* kKanji = "\xE6\x97\xA5";           // "日": 93 FA in 932, not in 1252
constexpr const char* kEuro = "\xE2\x82\xAC";            // "€": 80 in 1252, not in 932
constexpr const char* kHalfWidthA = "\xEF\xBD\xB1";      // "ｱ": B1 in 932, not in 1252
constexpr const char* kEAcute = "\xC3\xA9";              // "é": E9 in 1252, not in 932

size_t Width(const std::string& text) { return TextWidth(text, TextCoding::kUtf8); }

class TextWidthTest : public test::NativeReset {};

TEST_F(TextWidthTest, Utf8CharactersTakeTheColumnsOfTheirAnsiForm) {
    if (test::UseCodePage1252()) {
        EXPECT_EQ(Width(kEuro), 1u);
        EXPECT_EQ(Width(kEAcute), 1u);
        // No form in 1252, and no best-fit look-alike ("1" for "①") either.
        EXPECT_EQ(Width(kCircledOne), kUnmappableWidth);
        EXPECT_EQ(Width(kKanji), kUnmappableWidth);
        EXPECT_EQ(Width(kHalfWidthA), kUnmappableWidth);
    }
    if (test::UseCodePage932()) {
        EXPECT_EQ(Width(kCircledOne), 2u);
        EXPECT_EQ(Width(kKanji), 2u);
        EXPECT_EQ(Width(kHalfWidthA), 1u);
        EXPECT_EQ(Width(kEuro), kUnmappableWidth);
        EXPECT_EQ(Width(kEAcute), kUnmappableWidth);
    }
    EXPECT_EQ(Width(kEmoji), kUnmappableWidth);
    EXPECT_EQ(Width(std::string("ab") + kEmoji + "c" + kCircledOne), 3 + 2 + kUnmappableWidth);
    EXPECT_EQ(Width(""), 0u);
}

TEST_F(TextWidthTest, AMalformedByteIsACharacterOfItsOwn) {
    // A truncated sequence or a stray byte never takes the "$" after it along.
    const std::string broken = std::string("\xE6\xA7") + "$" + "\x80";
    EXPECT_EQ(NextChar(broken, 0, TextCoding::kUtf8).length, 1u);
    EXPECT_EQ(NextChar(broken, 0, TextCoding::kUtf8).width, kUnmappableWidth);
    EXPECT_EQ(NextChar(broken, 3, TextCoding::kUtf8).length, 1u);
    EXPECT_EQ(Width(broken), 3 * kUnmappableWidth + 1);
    EXPECT_EQ(NextChar(std::string(kEmoji).substr(0, 3), 0, TextCoding::kUtf8).length, 1u);
}

TEST(FindNearest, TheOccurrenceClosestToWhereTheListingWasWritten) {
    //                       0         1         2         3
    //                       0123456789012345678901234567890123
    const std::string text = "Ann, Bob | Ann, Bob |---| Ann, Bob";
    EXPECT_EQ(FindNearest(text, "Ann, Bob", 0), 0u);
    EXPECT_EQ(FindNearest(text, "Ann, Bob", 13), 11u);   // 2 before it, 13 after
    EXPECT_EQ(FindNearest(text, "Ann, Bob", 22), 26u);   // 11 before it, 4 after
    EXPECT_EQ(FindNearest(text, "Ann, Bob", 500), 26u);
    // Two at the same distance: the earlier one.
    EXPECT_EQ(FindNearest("ab..ab", "ab", 2), 0u);
    EXPECT_EQ(FindNearest(text, "Ann, Bobby", 11), std::string::npos);
    EXPECT_EQ(FindNearest("", "Ann", 0), std::string::npos);

    // An empty listing is wherever it was written, inside the text.
    EXPECT_EQ(FindNearest(text, "", 7), 7u);
    EXPECT_EQ(FindNearest(text, "", text.size()), text.size());
    EXPECT_EQ(FindNearest(text, "", text.size() + 1), std::string::npos);
}

}  // namespace
