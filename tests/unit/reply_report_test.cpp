#include <gtest/gtest.h>

#include <string>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "reply/report.h"
#include "reply/report_lines.h"
#include "support/fake_host.h"
#include "support/test_support.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

using fakehost::FakeHostScope;

namespace {

std::string Quoted(const std::string& name) {
    char out[kNameSize];
    QuoteReportName(name.c_str(), out, sizeof out);
    return out;
}

}  // namespace

TEST(ReplyReport, NamesAreQuotedOnce) {
    EXPECT_EQ(Quoted(""), "\"\"");
    EXPECT_EQ(Quoted("Ann Smith"), "\"Ann Smith\"");
    EXPECT_EQ(Quoted("\"Smith, Ann\""), "\"Smith, Ann\"");
    EXPECT_EQ(Quoted("'Ann'"), "\"Ann\"");
    EXPECT_EQ(Quoted("'"), "\"'\"");
    EXPECT_EQ(Quoted("Bob \"B\" C:\\x"), "\"Bob \\\"B\\\" C:\\\\x\"");
    EXPECT_EQ(Quoted("'O\"Neil'"), "\"O\\\"Neil\"");
    // The quoted form must fit with its terminator: 1025 bytes plus two quotes.
    EXPECT_EQ(Quoted(std::string(kNameSize - 3, 'n')), "\"" + std::string(kNameSize - 3, 'n') + "\"");
    EXPECT_EQ(Quoted(std::string(kNameSize - 2, 'n')), "");
}

TEST(ReplyReport, DuplicateScanIgnoresCaseAndEnclosingBrackets) {
    const std::string file =
        "\"Ann\"\tann@example.com\r\n"
        "\"Bob\"\t<Bob@Example.com>\r\n"
        "\"Cy\"\t(cy@example.com)\r\n";
    EXPECT_TRUE(ReportHasEntry(file, "\"ann\"", "ANN@example.com"));
    EXPECT_TRUE(ReportHasEntry(file, "\"Bob\"", "bob@example.com"));
    EXPECT_TRUE(ReportHasEntry(file, "\"Cy\"", "cy@example.com"));
    // Both fields must match.
    EXPECT_FALSE(ReportHasEntry(file, "\"Ann B\"", "ann@example.com"));
    EXPECT_FALSE(ReportHasEntry(file, "\"Ann\"", "ann@example.org"));
    EXPECT_FALSE(ReportHasEntry("", "\"Ann\"", "ann@example.com"));
    // The scan ends at a line without a TAB, and at a line without a CR.
    EXPECT_FALSE(ReportHasEntry("no tab here\r\n\"Ann\"\tann@example.com\r\n", "\"Ann\"",
                                "ann@example.com"));
    EXPECT_FALSE(ReportHasEntry("\"Ann\"\tann@example.com", "\"Ann\"", "ann@example.com"));
}

TEST(ReplyReport, AsciiCaseFoldingLeavesDoubleByteCharactersAlone) {
    FakeHostScope scope;   // puts the code page back afterwards
    EXPECT_TRUE(EqualIgnoringCase("Ann@Example.COM", "ann@example.com"));
    EXPECT_FALSE(EqualIgnoringCase("ann", "anna"));
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
#endif
    if (platform::AnsiCodePage() != 932) GTEST_SKIP() << "needs code page 932";
    // 0x83 0x41 and 0x83 0x61 are two katakana whose trail bytes differ only
    // as ASCII letters would.
    EXPECT_FALSE(EqualIgnoringCase("\x83\x41", "\x83\x61"));
    EXPECT_TRUE(EqualIgnoringCase("\x83\x41" "A", "\x83\x41" "a"));
}

TEST(ReplyReport, OneLinePerPersonAppendedToTheFile) {
    FakeHostScope scope;
    test::TempDir dir;
    const std::string path = dir.Join("NOENTRY.txt");
    CopyBounded(scope.Settings().reportFile, kPathSize, path);

    ReportMissingAddress(scope.Settings().reportFile, "ann@example.com");
    EXPECT_EQ(test::ReadBytes(path), "\"\"\tann@example.com\r\n");
    ReportMissingAddress(scope.Settings().reportFile, "Bob Smith <bob@example.com>");
    ReportMissingAddress(scope.Settings().reportFile, "ANN@EXAMPLE.COM");          // same person, other case
    ReportMissingAddress(scope.Settings().reportFile, "Bob Smith <Bob@Example.com>");
    ReportMissingAddress(scope.Settings().reportFile, "localname");                // no at sign: never logged
    ReportMissingAddress(scope.Settings().reportFile, "Carl <carl>");
    ReportMissingAddress(scope.Settings().reportFile, "'Dee' <dee@example.com>");
    EXPECT_EQ(test::ReadBytes(path),
              "\"\"\tann@example.com\r\n"
              "\"Bob Smith\"\tbob@example.com\r\n"
              "\"Dee\"\tdee@example.com\r\n");
}

TEST(ReplyReport, HandWrittenLinesCountAndAreNeverRewritten) {
    FakeHostScope scope;
    test::TempDir dir;
    const std::string path = dir.Join("report.txt");
    CopyBounded(scope.Settings().reportFile, kPathSize, path);

    // A line with the address in angle brackets, and a last line without CR LF.
    const std::string old = "\"Ann\"\t<ann@example.com>\r\n\"Old\"\told@example.com";
    test::WriteBytes(path, old);
    ReportMissingAddress(scope.Settings().reportFile, "Ann <ann@example.com>");
    EXPECT_EQ(test::ReadBytes(path), old);
    ReportMissingAddress(scope.Settings().reportFile, "Eve <eve@example.com>");
    EXPECT_EQ(test::ReadBytes(path), old + "\r\n\"Eve\"\teve@example.com\r\n");

    // An empty file is simply appended to.
    test::WriteBytes(path, "");
    ReportMissingAddress(scope.Settings().reportFile, "Eve <eve@example.com>");
    EXPECT_EQ(test::ReadBytes(path), "\"Eve\"\teve@example.com\r\n");
}

TEST(ReplyReport, OverLongEntriesAreNotLogged) {
    FakeHostScope scope;
    test::TempDir dir;
    const std::string path = dir.Join("report.txt");
    CopyBounded(scope.Settings().reportFile, kPathSize, path);

    // Quoted name, address and 8 bytes must stay below the name size.
    const std::string address = "a@example.com";
    const std::string fits(kNameSize - 8 - address.size() - 3, 'n');
    ReportMissingAddress(scope.Settings().reportFile, (fits + " <" + address + ">").c_str());
    EXPECT_EQ(test::ReadBytes(path), "\"" + fits + "\"\t" + address + "\r\n");
    const std::string tooLong = fits + "n";
    ReportMissingAddress(scope.Settings().reportFile, (tooLong + " <b@example.com>").c_str());
    EXPECT_EQ(test::ReadBytes(path), "\"" + fits + "\"\t" + address + "\r\n");
}

TEST(ReplyReport, EveryLineStaysOneLineAndIsFoundAgain) {
    FakeHostScope scope;
    test::TempDir dir;
    const std::string path = dir.Join("report.txt");
    CopyBounded(scope.Settings().reportFile, kPathSize, path);
    const char* report = scope.Settings().reportFile;

    // A name unfolded from a folded header keeps its TAB; written as it is,
    // it would split the line at the wrong TAB and the person would be
    // logged again on every reply. Outside quotes a line break parts two
    // words, as a reader of the header reads it.
    ReportMissingAddress(report, "\"Ann\tSmith\" <ann@example.com>");
    ReportMissingAddress(report, "\"Ann\tSmith\" <ann@example.com>");
    ReportMissingAddress(report, "Bob\r\nJones <bob@example.com>");
    ReportMissingAddress(report, "Bob\r\nJones <bob@example.com>");
    EXPECT_EQ(test::ReadBytes(path),
              "\"Ann Smith\"\tann@example.com\r\n"
              "\"Bob Jones\"\tbob@example.com\r\n");
    // An address with a control byte in it is no address to log.
    ReportMissingAddress(report, "Cy <cy@exa\tmple.com>");
    ReportMissingAddress(report, "Di <di@example.com\r\n>");
    EXPECT_EQ(test::ReadBytes(path),
              "\"Ann Smith\"\tann@example.com\r\n"
              "\"Bob Jones\"\tbob@example.com\r\n");

    // An address that is itself between brackets or parentheses is found
    // again as the scan reads it back: without one enclosing pair.
    test::WriteBytes(path, "");
    ReportMissingAddress(report, "Fay <(fay@example.com)>");
    ReportMissingAddress(report, "Fay <(fay@example.com)>");
    ReportMissingAddress(report, "Fay <fay@example.com>");
    EXPECT_EQ(test::ReadBytes(path), "\"Fay\"\t(fay@example.com)\r\n");

    // A last line ended by a CR alone gets its LF, not an empty line that
    // would end the scan before the new line.
    test::WriteBytes(path, "\"Old\"\told@example.com\r");
    ReportMissingAddress(report, "Eve <eve@example.com>");
    ReportMissingAddress(report, "Eve <eve@example.com>");
    EXPECT_EQ(test::ReadBytes(path), "\"Old\"\told@example.com\r\n\"Eve\"\teve@example.com\r\n");
}
