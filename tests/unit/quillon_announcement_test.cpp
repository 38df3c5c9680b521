#include <gtest/gtest.h>

#include <string>

#include "quillon/announcement.h"
#include "quillon/version_compare.h"

namespace {

// 64 bytes 0x00..0x3F in base64.
constexpr char kSignature[] =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+Pw==";
constexpr char kDigest[] = "00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF";

std::string Body(const std::string& eol = "\n") {
    return "Halyard-Update: 1" + eol + "Version: 4.1.10.0" + eol +
           "Installer: https://tarnwick.example/halyard/HalyardSetup.exe" + eol + "Size: 123456" + eol +
           "SHA-256: " + kDigest + eol + "Notes: Faster lookup." + eol;
}

std::string Signed(const std::string& body, const std::string& eol = "\n") {
    return body + "Signature: " + kSignature + eol;
}

AnnouncementStatus Parse(const std::string& text) {
    Announcement a;
    return ParseAnnouncement(text, &a);
}

TEST(Announcement, ReadsEveryFieldAndWhereTheSignatureStarts) {
    for (const std::string eol : {"\n", "\r\n"}) {
        const std::string body = Body(eol);
        Announcement a;
        ASSERT_EQ(ParseAnnouncement(Signed(body, eol), &a), AnnouncementStatus::Valid) << eol.size();
        EXPECT_EQ(a.versionText, "4.1.10.0");
        EXPECT_EQ(a.version, (std::vector<uint32_t>{4, 1, 10, 0}));
        EXPECT_EQ(a.installer, "https://tarnwick.example/halyard/HalyardSetup.exe");
        EXPECT_EQ(a.size, 123456u);
        EXPECT_EQ(a.sha256[0], 0x00);
        EXPECT_EQ(a.sha256[5], 0x55);
        EXPECT_EQ(a.sha256[31], 0xFF);
        EXPECT_EQ(a.notes, "Faster lookup.");
        // The signed part is every byte before the Signature: line,
        // line endings included.
        EXPECT_EQ(a.signedLength, body.size());
        for (size_t i = 0; i < kSignatureBytes; ++i) EXPECT_EQ(a.signature[i], i);
    }
}

TEST(Announcement, JapaneseNotesAreShownInJapaneseAndEnglishOnesStandIn) {
    Announcement a;
    a.notesJa = "left over";
    ASSERT_EQ(ParseAnnouncement(Signed(Body()), &a), AnnouncementStatus::Valid);
    EXPECT_EQ(a.notesJa, "");
    EXPECT_EQ(NotesIn(a, "Notes-ja"), "Faster lookup.");

    const std::string both = Body() + "Notes-ja: \xE6\xA4\x9C\xE7\xB4\xA2\xE3\x81\x8C\xE9\x80\x9F\xE3\x81\x8F\n";
    ASSERT_EQ(ParseAnnouncement(Signed(both), &a), AnnouncementStatus::Valid);
    EXPECT_EQ(NotesIn(a, "Notes-ja"), "\xE6\xA4\x9C\xE7\xB4\xA2\xE3\x81\x8C\xE9\x80\x9F\xE3\x81\x8F");
    EXPECT_EQ(NotesIn(a, "Notes"), "Faster lookup.");
    // Each field once, like every other.
    EXPECT_EQ(Parse(Signed(both + "Notes-ja: again\n")), AnnouncementStatus::Invalid);
}

TEST(Announcement, NotesAreOptionalAndUnknownKeysIgnored) {
    std::string text = Body();
    text.replace(text.find("Notes: Faster lookup.\n"), 22, "X-Future: anything: at all\n");
    Announcement a;
    a.notes = "left over";
    ASSERT_EQ(ParseAnnouncement(Signed(text), &a), AnnouncementStatus::Valid);
    EXPECT_EQ(a.notes, "");
    // A last line without a line ending is still read.
    std::string unterminated = Signed(Body());
    unterminated.pop_back();
    EXPECT_EQ(Parse(unterminated), AnnouncementStatus::Valid);
}

TEST(Announcement, MissingOrMalformedRequiredKeysAreInvalid) {
    const std::string body = Body();
    const char* required[] = {"Halyard-Update: 1\n", "Version: 4.1.10.0\n", "Size: 123456\n",
                              "Installer: https://tarnwick.example/halyard/HalyardSetup.exe\n"};
    for (const char* line : required) {
        std::string text = body;
        text.erase(text.find(line), std::string(line).size());
        EXPECT_EQ(Parse(Signed(text)), AnnouncementStatus::Invalid) << line;
    }
    const std::pair<const char*, const char*> broken[] = {
        {"Halyard-Update: 1", "Halyard-Update: 2"},
        {"Version: 4.1.10.0", "Version: 4.1.x"},
        {"Version: 4.1.10.0", "Version: "},
        {"Size: 123456", "Size: 0"},
        {"Size: 123456", "Size: -5"},
        {"Size: 123456", "Size: 99999999999"},
        {"Size: 123456", "Size: 2000000000"},     // beyond any installer
        {"Installer: https://tarnwick.example/halyard/HalyardSetup.exe", "Installer:  "},
        {"Notes: Faster lookup.", "Notes lacks a colon"},
        {"Notes: Faster lookup.", "Bad key: x"},
    };
    for (const auto& [from, to] : broken) {
        std::string text = body;
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, std::string(from).size(), to);
        EXPECT_EQ(Parse(Signed(text)), AnnouncementStatus::Invalid) << to;
    }
    std::string digest = body;
    digest.replace(digest.find(kDigest), 64, std::string(63, 'a'));
    EXPECT_EQ(Parse(Signed(digest)), AnnouncementStatus::Invalid);
    digest = body;
    digest.replace(digest.find(kDigest), 64, std::string(63, 'a') + "g");
    EXPECT_EQ(Parse(Signed(digest)), AnnouncementStatus::Invalid);
    // A repeated key is ambiguous.
    EXPECT_EQ(Parse(Signed(body + "Version: 9.0\n")), AnnouncementStatus::Invalid);
    // Not an announcement at all: an error page.
    EXPECT_EQ(Parse("<html><body>Not found</body></html>\n"), AnnouncementStatus::Invalid);
    EXPECT_EQ(Parse(""), AnnouncementStatus::Invalid);
}

TEST(Announcement, SignatureMustComeLastAndBeSixtyFourBytes) {
    const std::string body = Body();
    EXPECT_EQ(Parse(body), AnnouncementStatus::Unsigned);
    EXPECT_EQ(Parse(body + "Signature:\n"), AnnouncementStatus::Unsigned);
    EXPECT_EQ(Parse(body + "Signature: AAAA\n"), AnnouncementStatus::Unsigned);      // 3 bytes
    EXPECT_EQ(Parse(body + "Signature: !!" + (kSignature + 2) + "\n"), AnnouncementStatus::Unsigned);
    // Anything after the signature line would not be covered by it.
    EXPECT_EQ(Parse(Signed(body) + "Notes: added later\n"), AnnouncementStatus::Invalid);
    EXPECT_EQ(Parse(Signed(body) + "\n"), AnnouncementStatus::Invalid);
    EXPECT_EQ(Parse("Signature: " + std::string(kSignature) + "\n" + body), AnnouncementStatus::Invalid);
}

TEST(Announcement, SizeAndEncodingLimits) {
    const std::string text = Signed(Body());
    std::string filler = "X-Padding: " + std::string(kAnnouncementMaxBytes - text.size() - 12, 'p') + "\n";
    std::string atLimit = Body() + filler;
    atLimit = Signed(atLimit);
    ASSERT_EQ(atLimit.size(), kAnnouncementMaxBytes);
    EXPECT_EQ(Parse(atLimit), AnnouncementStatus::Valid);
    EXPECT_EQ(Parse(Signed(Body() + "X" + filler)), AnnouncementStatus::Invalid);
    // UTF-8 notes are fine; bytes that are not UTF-8, or a NUL, are not.
    EXPECT_EQ(Parse(Signed(Body() + "X-Note: \xE3\x82\xA2\n")), AnnouncementStatus::Valid);
    EXPECT_EQ(Parse(Signed(Body() + "X-Note: \x82\xA0\n")), AnnouncementStatus::Invalid);
    EXPECT_EQ(Parse(Signed(Body() + std::string("X-Note: a\0b\n", 11))), AnnouncementStatus::Invalid);
}

TEST(Utf8, RejectsOverlongSurrogatesAndTruncation) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));       // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));   // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));           // cut short
    EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(Version, ComparesPartByPartAsNumbers) {
    auto v = [](const char* text) {
        std::vector<uint32_t> parts;
        EXPECT_TRUE(ParseVersion(text, &parts)) << text;
        return parts;
    };
    EXPECT_GT(CompareVersions(v("4.1.10.0"), v("4.1.9.0")), 0);
    EXPECT_LT(CompareVersions(v("4.1.9"), v("4.1.10")), 0);
    EXPECT_EQ(CompareVersions(v("4.1"), v("4.1.0.0")), 0);
    EXPECT_GT(CompareVersions(v("4.1.0.1"), v("4.1")), 0);
    EXPECT_EQ(CompareVersions(v("004.01"), v("4.1")), 0);
    EXPECT_GT(CompareVersions(v("999999999"), v("4.1.3.0")), 0);
    std::vector<uint32_t> parts = {7};
    for (const char* bad : {"", ".", "4.", ".4", "4..1", "4.1a", "4 .1", "-4", "1234567890",
                            "1.2.3.4.5.6.7.8.9"}) {
        EXPECT_FALSE(ParseVersion(bad, &parts)) << bad;
    }
    EXPECT_EQ(parts, std::vector<uint32_t>{7});
    EXPECT_TRUE(ParseVersion("1.2.3.4.5.6.7.8", &parts));
}

}  // namespace
