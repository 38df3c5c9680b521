#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "outgoing/attach_scan.h"
#include "outgoing/quoted_line.h"

namespace {

const std::vector<std::string> kWords = {"attached", "attach", "send"};

bool Quoted(std::string_view line, std::string_view mark = "> ", bool html = false) {
    return IsQuotedLine(line, mark, html);
}

bool Finds(std::string_view text, std::string_view mark = "> ", bool html = false) {
    return FindAttachWordIn(text, kWords, mark, html);
}

// The plain-text rule written the direct way: the mark searched through the
// whole rest of the text and then compared with the line's end, and the
// first blank or tab taken from anywhere after the line's start.
bool QuotedByWholeTextSearch(const std::string& text, const std::string& mark) {
    if (text.empty() || text[0] == '\r' || text[0] == '\n') return false;
    size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd == std::string::npos) lineEnd = text.size();
    const size_t at = text.find(mark);
    if (at == std::string::npos || at >= lineEnd) return false;
    const size_t blank = text.find_first_of(" \t");
    return blank == std::string::npos || blank >= at;
}

}  // namespace

TEST(QuotedLine, PlainTextMarkAtStartOrAfterInitials) {
    EXPECT_TRUE(Quoted("> quoted text\r\nnext"));
    EXPECT_TRUE(Quoted("AB> quoted text"));
    EXPECT_TRUE(Quoted(">> twice quoted"));
    // Words before the mark make it part of the sentence.
    EXPECT_FALSE(Quoted("Dear AB> text"));
    EXPECT_FALSE(Quoted("\t> indented"));
    EXPECT_FALSE(Quoted(" > indented"));
    EXPECT_FALSE(Quoted("no mark here"));
    // The mark must be whole: ">" at the line's end is not "> ".
    EXPECT_FALSE(Quoted("AB>"));
    EXPECT_FALSE(Quoted("AB>\r\n next"));
    // Only the line itself is searched for the mark.
    EXPECT_FALSE(Quoted("plain\r\n> quoted"));
    EXPECT_FALSE(Quoted("plain\n> quoted"));
    EXPECT_FALSE(Quoted("plain\r> quoted"));
    // Empty lines and lines that begin with CR are never quotations.
    EXPECT_FALSE(Quoted(""));
    EXPECT_FALSE(Quoted("\r\n> x"));
    EXPECT_FALSE(Quoted("\n> x"));
}

TEST(QuotedLine, OtherMarks) {
    EXPECT_TRUE(Quoted("| text", "| "));
    EXPECT_FALSE(Quoted("> text", "| "));
    // A mark without a blank of its own: the blank after it does not count.
    EXPECT_TRUE(Quoted("AB>text more", ">"));
    EXPECT_FALSE(Quoted("A B>text", ">"));
    // A Shift_JIS full-width '>' as mark.
    EXPECT_TRUE(Quoted("\x81\x84 quoted", "\x81\x84"));
    EXPECT_FALSE(Quoted("x \x81\x84 quoted", "\x81\x84"));
    // An empty mark quotes every line that is not empty.
    EXPECT_TRUE(Quoted("anything", ""));
    EXPECT_TRUE(Quoted(" indented", ""));
    EXPECT_FALSE(Quoted("", ""));
    EXPECT_FALSE(Quoted("\r\nx", ""));
    EXPECT_FALSE(Quoted("\nx", ""));
}

TEST(QuotedLine, HtmlCharacterReferences) {
    EXPECT_TRUE(Quoted("&gt; quoted", "> ", true));
    EXPECT_TRUE(Quoted("&gt;&nbsp;quoted", "> ", true));
    EXPECT_TRUE(Quoted("AB&gt; quoted", "> ", true));
    // A tag before the mark is a prefix without blanks.
    EXPECT_TRUE(Quoted("<p>&gt; quoted</p>", "> ", true));
    EXPECT_FALSE(Quoted("<p class=\"q\">&gt; quoted</p>", "> ", true));
    // A raw '>' is markup in HTML, not a visible mark.
    EXPECT_FALSE(Quoted("> not quoted", "> ", true));
    EXPECT_FALSE(Quoted("<br>text", "> ", true));
    // "&amp;gt;" shows "&gt;", not '>'.
    EXPECT_FALSE(Quoted("&amp;gt; text", "> ", true));
    // Marks made of the other references.
    EXPECT_TRUE(Quoted("&lt;&lt; text", "<<", true));
    EXPECT_TRUE(Quoted("&quot;&amp; text", "\"&", true));
    EXPECT_FALSE(Quoted("\"& text", "\"&", true));
    // References are case-sensitive; an unknown one is plain text.
    EXPECT_FALSE(Quoted("&GT; text", "> ", true));
    EXPECT_TRUE(Quoted("&x> text", "&x", true));
    // A reference cut off by the end of the text does not match.
    EXPECT_FALSE(Quoted("&gt", ">", true));
    // Without the HTML flag references are just bytes.
    EXPECT_FALSE(Quoted("&gt; text", "> ", false));
    // The line ends at CR or LF here too.
    EXPECT_FALSE(Quoted("text\r\n&gt; quoted", "> ", true));
}

TEST(QuotedLine, SameAnswerAsWholeTextSearch) {
    const std::string alphabet = "> \tAB\r\n|";
    const std::vector<std::string> marks = {"> ", ">", "|", ">>", "A", ""};
    std::mt19937 random(20240611);
    for (int round = 0; round < 20000; ++round) {
        const size_t length = random() % 24;
        std::string text;
        for (size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        const std::string& mark = marks[random() % marks.size()];
        ASSERT_EQ(IsQuotedLine(text, mark, false), QuotedByWholeTextSearch(text, mark))
            << "text [" << text << "] mark [" << mark << "]";
    }
}

TEST(AttachScan, KeywordsOutsideQuotedLines) {
    EXPECT_TRUE(Finds("Please find the file attached.\r\n"));
    // Keywords match inside longer words.
    EXPECT_TRUE(Finds("See the attachment"));
    EXPECT_TRUE(Finds("The sender said so"));
    // Case-sensitive.
    EXPECT_FALSE(Finds("ATTACHED ATTACHMENT SEND"));
    EXPECT_FALSE(Finds("nothing to see\r\nhere\r\n"));
    EXPECT_FALSE(Finds(""));
    // Only quoted lines speak of it.
    EXPECT_FALSE(Finds("Thanks!\r\n> I attached the file\r\nAB> send it\r\n"));
    EXPECT_TRUE(Finds("> I attached the file\r\nattached again\r\n"));
    EXPECT_TRUE(Finds("Dear AB> I attached it\r\n"));
    // A keyword does not run across a line feed.
    EXPECT_FALSE(Finds("att\nached"));
    // Lines end at LF only: a CR inside a quoted line does not end it.
    EXPECT_FALSE(Finds("> x\rattached"));
    // The last line needs no line feed.
    EXPECT_TRUE(Finds("one\r\ntwo\r\nsend"));
}

TEST(AttachScan, HtmlAndMarks) {
    const std::string html = "<p>&gt; I attached it</p>\r\n<p>Thanks</p>\r\n";
    EXPECT_FALSE(Finds(html, "> ", true));
    // Read as plain text the same line is no quotation.
    EXPECT_TRUE(Finds(html, "> ", false));
    EXPECT_TRUE(Finds("<p>I attached it</p>", "> ", true));
    // An empty mark makes every line a quotation.
    EXPECT_FALSE(Finds("I attached it\r\nsend\r\n", ""));
    EXPECT_TRUE(Finds("| quoted\r\n> attached\r\n", "| "));
}

TEST(AttachScan, WordListsAndJapanese) {
    const std::vector<std::string> japanese = {"\x93\x59\x95\x74", "\x91\x97\x95\x74"};  // 添付, 送付
    EXPECT_TRUE(FindAttachWordIn("\x8e\x91\x97\xbf\x82\xf0\x93\x59\x95\x74\x82\xb5\x82\xdc\x82\xb7",
                                 japanese, "> ", false));
    EXPECT_FALSE(FindAttachWordIn("> \x93\x59\x95\x74", japanese, "> ", false));
    // UTF-8 text with the UTF-8 form of the word.
    const std::vector<std::string> utf8 = {"\xe6\xb7\xbb\xe4\xbb\x98"};
    EXPECT_TRUE(FindAttachWordIn("\xe8\xb3\x87\xe6\x96\x99\xe3\x82\x92\xe6\xb7\xbb\xe4\xbb\x98",
                                 utf8, "> ", false));
    EXPECT_FALSE(FindAttachWordIn("\x93\x59\x95\x74", utf8, "> ", false));
    // No words, or only empty ones, never match.
    EXPECT_FALSE(FindAttachWordIn("attached", {}, "> ", false));
    EXPECT_FALSE(FindAttachWordIn("attached", {""}, "> ", false));
    EXPECT_FALSE(ContainsAny("anything", {""}));
}

TEST(AttachScan, LargeTextScannedLineByLine) {
    // Many lines without blanks and without the mark: a scan that searched
    // the rest of the text for each line would take hours here.
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "line-without-the-word\r\n";
    EXPECT_FALSE(FindAttachWordIn(text, kWords, ">", false));
    EXPECT_FALSE(FindAttachWordIn(text, kWords, "&gt;", true));
    std::string quoted;
    for (int i = 0; i < 200000; ++i) quoted += "AB>attached\r\n";
    EXPECT_FALSE(FindAttachWordIn(quoted, kWords, ">", false));
    EXPECT_TRUE(FindAttachWordIn(quoted + "send", kWords, ">", false));
}

TEST(AttachScan, HeaderTests) {
    EXPECT_TRUE(HasReplyPrefix("Re: meeting"));
    EXPECT_TRUE(HasReplyPrefix("RE:meeting"));
    EXPECT_TRUE(HasReplyPrefix("re:"));
    EXPECT_FALSE(HasReplyPrefix("Re"));
    EXPECT_FALSE(HasReplyPrefix(" Re: meeting"));
    EXPECT_FALSE(HasReplyPrefix("Fwd: Re: meeting"));

    EXPECT_TRUE(IsMultipartWithBoundary("multipart/mixed; boundary=\"b1\""));
    EXPECT_FALSE(IsMultipartWithBoundary("multipart/mixed"));
    EXPECT_FALSE(IsMultipartWithBoundary("text/plain; boundary=x"));
    EXPECT_FALSE(IsMultipartWithBoundary("Multipart/Mixed; Boundary=x"));
    EXPECT_FALSE(IsMultipartWithBoundary(""));

    EXPECT_TRUE(ContainsAny("Sales <sales@example.com>", {"x", "@example.com"}));
    EXPECT_FALSE(ContainsAny("Sales <sales@EXAMPLE.com>", {"@example.com"}));
    EXPECT_FALSE(ContainsAny("", {"@example.com"}));
}
