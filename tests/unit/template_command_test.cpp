// The command parser: what is a command, what it holds, and where the
// search goes on after a candidate that is not one.
#include <gtest/gtest.h>

#include <string>

#include "common/platform.h"
#include "template/template_command.h"
#include "template/template_items.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

namespace {

struct Found {
    bool ok = false;
    size_t start = 0;
    size_t end = 0;
    STemplateCommand command;
    std::string Text(const std::string& text) const { return text.substr(start, end - start); }
};

Found Find(const std::string& text, char keyword = 't', size_t from = 0,
           TextCoding coding = TextCoding::kAnsi) {
    Found f;
    f.ok = FindTemplateCommand(text, from, keyword, coding, &f.command, &f.start, &f.end);
    return f;
}

class TemplateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(_WIN32)
        platform::testing::Reset();
#endif
    }
    void TearDown() override { SetUp(); }
};

TEST_F(TemplateCommandTest, ReadsWidthPrefixAndItems) {
    const std::string text = "Hello\r\n$t72To: ($o $i $n, r)\r\nBye";
    const Found f = Find(text);
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.Text(text), "$t72To: ($o $i $n, r)");
    EXPECT_EQ(f.command.keyword, 't');
    EXPECT_EQ(f.command.width, 72);
    EXPECT_EQ(std::string(f.command.Prefix()), "To: ");
    ASSERT_EQ(f.command.itemCount, 3);

    const STemplateItem& o = f.command.items[0];
    EXPECT_EQ(o.handler, &OrganizationItem);
    EXPECT_EQ(o.suppress, 1);
    EXPECT_EQ(std::string(o.Separator()), " ");
    EXPECT_EQ(o.breakFlag, 0);
    const STemplateItem& i = f.command.items[1];
    EXPECT_EQ(i.handler, &DepartmentItem);
    EXPECT_EQ(i.suppress, 1);
    const STemplateItem& n = f.command.items[2];
    EXPECT_EQ(n.handler, &NameItem);
    EXPECT_EQ(n.suppress, 0);
    EXPECT_EQ(std::string(n.Separator()), ", ");
    EXPECT_EQ(n.breakFlag, 1);

    // Each letter selects its handler; capitals do not suppress.
    const Found all = Find("$t($O$I$f$l$3s$r$x)");
    ASSERT_TRUE(all.ok);
    ASSERT_EQ(all.command.itemCount, 7);
    EXPECT_EQ(all.command.items[0].handler, &OrganizationItem);
    EXPECT_EQ(all.command.items[0].suppress, 0);
    EXPECT_EQ(all.command.items[1].handler, &DepartmentItem);
    EXPECT_EQ(all.command.items[1].suppress, 0);
    EXPECT_EQ(all.command.items[2].handler, &FamilyNameItem);
    EXPECT_EQ(all.command.items[3].handler, &GivenNameItem);
    EXPECT_EQ(all.command.items[4].handler, &SpaceItem);
    EXPECT_EQ(all.command.items[4].number, 3);
    EXPECT_EQ(all.command.items[5].handler, &BreakItem);
    EXPECT_EQ(all.command.items[6].handler, nullptr);
}

TEST_F(TemplateCommandTest, WidthDigitsAndNumbers) {
    EXPECT_EQ(Find("$t($n)").command.width, -1);
    EXPECT_EQ(Find("$t0($n)").command.width, -1);
    EXPECT_EQ(Find("$t007($n)").command.width, 7);

    // 31 digits are the width (too large: no line is that long); the 32nd
    // starts the prefix.
    const std::string digits(31, '9');
    const Found big = Find("$t" + digits + "5x($n)");
    ASSERT_TRUE(big.ok);
    EXPECT_EQ(big.command.width, 2147483647);
    EXPECT_EQ(std::string(big.command.Prefix()), "5x");

    const Found indent = Find("$t($12n$4f)");
    ASSERT_TRUE(indent.ok);
    EXPECT_EQ(indent.command.items[0].number, 12);
    EXPECT_EQ(indent.command.items[1].number, 4);
}

TEST_F(TemplateCommandTest, SeparatorsEndAtDollarParenOrR) {
    // An "r" ends the separator and sets the break flag; what follows it up
    // to ")" is ignored, and the command still ends at that ")".
    const std::string text = "$t($n, Mr )";
    const Found mr = Find(text);
    ASSERT_TRUE(mr.ok);
    ASSERT_EQ(mr.command.itemCount, 1);
    EXPECT_EQ(std::string(mr.command.items[0].Separator()), ", M");
    EXPECT_EQ(mr.command.items[0].breakFlag, 1);
    EXPECT_EQ(mr.end, text.size());

    // Directly followed by "$" or ")": an empty separator.
    const Found empty = Find("$t($n$f)");
    ASSERT_EQ(empty.command.itemCount, 2);
    EXPECT_EQ(empty.command.items[0].separatorLength, 0u);
    EXPECT_EQ(empty.command.items[1].separatorLength, 0u);

    // An "r" then "$" goes on with the next item.
    const Found next = Find("$t($n,r$f)");
    ASSERT_EQ(next.command.itemCount, 2);
    EXPECT_EQ(std::string(next.command.items[0].Separator()), ",");
    EXPECT_EQ(next.command.items[1].handler, &FamilyNameItem);

    // 30 characters fit, 31 do not.
    EXPECT_TRUE(Find("$t($n" + std::string(30, '-') + ")").ok);
    EXPECT_FALSE(Find("$t($n" + std::string(31, '-') + ")").ok);
}

TEST_F(TemplateCommandTest, CandidatesThatAreNotCommands) {
    EXPECT_FALSE(Find("text $t($n and no closing parenthesis").ok);
    EXPECT_FALSE(Find("ends with the keyword $t").ok);
    EXPECT_FALSE(Find("$T($n) capital keyword").ok);
    EXPECT_FALSE(Find("$t(x$n)").ok);          // "(" not followed by "$"
    EXPECT_FALSE(Find("$t()").ok);
    EXPECT_FALSE(Find("$t($)").ok);            // an item without a letter
    EXPECT_FALSE(Find("$t($12)").ok);
    EXPECT_FALSE(Find("$t($s x)").ok);         // "s" followed by other text
    EXPECT_FALSE(Find("$t($n$r, )").ok);
    EXPECT_FALSE(Find("$tTo:\n($n)").ok);      // the prefix reaches the next line

    // 79 prefix characters are allowed, 80 are not.
    EXPECT_TRUE(Find("$t" + std::string(79, 'p') + "($n)").ok);
    EXPECT_FALSE(Find("$t" + std::string(80, 'p') + "($n)").ok);
}

TEST_F(TemplateCommandTest, SearchGoesOnAfterACandidate) {
    // Each rejected candidate leaves the next command to be found.
    const std::string text = "$tTo:\n$t(x) $t($s?) $t" + std::string(90, 'p') + " $t12($n)";
    const Found f = Find(text);
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.Text(text), "$t12($n)");

    // A keyword inside an over-long prefix is a candidate of its own.
    const std::string inner = "$t" + std::string(70, 'p') + "$t" + std::string(20, 'q') + "($n)";
    const Found g = Find(inner);
    ASSERT_TRUE(g.ok);
    EXPECT_EQ(g.start, 72u);

    // The search starts at from, and keywords are kept apart.
    const std::string two = "$c($n) $t($f) $t($l)";
    EXPECT_EQ(Find(two, 'c').start, 0u);
    EXPECT_EQ(Find(two, 't').start, 7u);
    EXPECT_EQ(Find(two, 't', 8).start, 14u);
    EXPECT_FALSE(Find(two, 'c', 1).ok);
}

TEST_F(TemplateCommandTest, SixteenItemsAreKept) {
    std::string items;
    for (int i = 0; i < 18; ++i) items += "$" + std::to_string(i) + "n,";
    const std::string text = "$t(" + items + ") tail";
    const Found f = Find(text);
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.command.itemCount, 16);
    EXPECT_EQ(f.command.items[15].number, 15);
    EXPECT_EQ(f.Text(text), "$t(" + items + ")");
}

TEST_F(TemplateCommandTest, DoubleByteSeparators) {
    // "Ｓ" is 82 72 in code page 932: its second byte is an "r".
    const std::string text = "$t($n\x82\x72$f)";
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
#endif
    const Found f = Find(text);
    ASSERT_TRUE(f.ok);
    if (platform::AnsiCodePage() == 932) {
        ASSERT_EQ(f.command.itemCount, 2);
        EXPECT_EQ(std::string(f.command.items[0].Separator()), "\x82\x72");
        EXPECT_EQ(f.command.items[0].breakFlag, 0);
    } else {
        // Single-byte code page: the "r" ends the separator.
        ASSERT_EQ(f.command.itemCount, 2);
        EXPECT_EQ(std::string(f.command.items[0].Separator()), "\x82");
        EXPECT_EQ(f.command.items[0].breakFlag, 1);
    }
}

Found FindUtf8(const std::string& text) { return Find(text, 't', 0, TextCoding::kUtf8); }

std::string Times(int count, const std::string& piece) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

TEST_F(TemplateCommandTest, Utf8TextsKeepTheirBytesAndCountColumns) {
    for (const bool japanese : {false, true}) {
#if !defined(_WIN32)
        platform::testing::SetAnsiCodePage(japanese ? 932 : 1252);
#endif
        if (japanese != (platform::AnsiCodePage() == 932)) continue;
        SCOPED_TRACE(platform::AnsiCodePage());

        // "様" (E6 A7 98) ends in a Shift_JIS lead byte: taken as ANSI under
        // 932 it would swallow the "$" of the next item.
        const Found sama = FindUtf8("$t($n\xE6\xA7\x98$f)");
        ASSERT_TRUE(sama.ok);
        ASSERT_EQ(sama.command.itemCount, 2);
        EXPECT_EQ(std::string(sama.command.items[0].Separator()), "\xE6\xA7\x98");
        EXPECT_EQ(sama.command.items[0].separatorWidth, 2u);
        EXPECT_EQ(sama.command.items[1].handler, &FamilyNameItem);

        // An emoji in the prefix and a separator: kept as they are, two
        // columns each.
        const Found emoji = FindUtf8("$t\xF0\x9F\x98\x80 ($n\xF0\x9F\x99\x82)");
        ASSERT_TRUE(emoji.ok);
        EXPECT_EQ(std::string(emoji.command.Prefix()), "\xF0\x9F\x98\x80 ");
        EXPECT_EQ(emoji.command.prefixWidth, 3u);
        EXPECT_EQ(std::string(emoji.command.items[0].Separator()), "\xF0\x9F\x99\x82");
        EXPECT_EQ(emoji.command.items[0].separatorWidth, 2u);

        // Limits count columns: "日" takes two in both code pages.
        const std::string kanji = "\xE6\x97\xA5";
        EXPECT_TRUE(FindUtf8("$t" + Times(39, kanji) + "x($n)").ok);
        EXPECT_FALSE(FindUtf8("$t" + Times(40, kanji) + "($n)").ok);
        EXPECT_TRUE(FindUtf8("$t($n" + Times(15, kanji) + ")").ok);
        EXPECT_FALSE(FindUtf8("$t($n" + Times(15, kanji) + "x)").ok);

        // A one-column character of three bytes fills the fields to the end.
        const std::string narrow = japanese ? "\xEF\xBD\xB1" : "\xE2\x82\xAC";   // "ｱ", "€"
        const Found prefix = FindUtf8("$t" + Times(79, narrow) + "($n" + Times(30, narrow) + ")");
        ASSERT_TRUE(prefix.ok);
        EXPECT_EQ(std::string(prefix.command.Prefix()), Times(79, narrow));
        EXPECT_EQ(prefix.command.prefixWidth, 79u);
        EXPECT_EQ(std::string(prefix.command.items[0].Separator()), Times(30, narrow));
        EXPECT_FALSE(FindUtf8("$t" + Times(80, narrow) + "($n)").ok);
        EXPECT_FALSE(FindUtf8("$t($n" + Times(31, narrow) + ")").ok);
    }
}

}  // namespace
