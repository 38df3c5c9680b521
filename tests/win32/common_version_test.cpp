// The version record read from real module files: the built library and
// copies of it carrying hand-built version blocks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/version.h"
#include "support/test_support.h"
#include "win32/common_version_fixture.h"

namespace {

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::string Module(const test::TempDir& dir, const char* name, const std::string& block,
                   WORD language) {
    std::string path = dir.Join(name);
    EXPECT_TRUE(test::WriteModuleWithVersion(HALYARD_DLL_PATH, path, block, language)) << path;
    return path;
}

void ExpectAllEmpty(const SVersion& version) {
    for (int i = 0; i < static_cast<int>(VersionText::Count); ++i)
        EXPECT_STREQ(version.Text(static_cast<VersionText>(i)), "") << "text " << i;
}

}  // namespace

TEST(VersionRecord, FilesWithoutVersionInformationGiveEmptyTexts) {
    test::TempDir dir;
    std::string plain = dir.Join("notes.txt");
    test::WriteBytes(plain, "no resources here\r\n");
    SVersion fromText(plain.c_str());
    ExpectAllEmpty(fromText);
    EXPECT_EQ(fromText.Language(), 0x0409);
    EXPECT_EQ(fromText.CodePage(), 0x04B0);

    SVersion missing(dir.Join("absent.dll").c_str());
    ExpectAllEmpty(missing);

    // A real module stripped of every resource.
    SVersion stripped(Module(dir, "bare.dll", "", kEnglishUs).c_str());
    ExpectAllEmpty(stripped);
}

TEST(VersionRecord, TranslationEntryChoosesTheStringTable) {
    test::TempDir dir;
    std::vector<test::VersionTable> tables = {
        {"040904B0", {{L"ProductName", L"English name"}, {L"FileVersion", L"1.0.0.0"}}},
        {"041104B0", {{L"ProductName", L"Japanese name"}, {L"FileVersion", L"2.0.0.0"}}},
    };
    std::string japanese =
        test::VersionBlockBuilder::Build(tables, {0x04B00411u, 0x04B00409u}, true);
    SVersion chosen(Module(dir, "ja.dll", japanese, kJapanese).c_str());
    EXPECT_EQ(chosen.Language(), 0x0411);
    EXPECT_EQ(chosen.CodePage(), 0x04B0);
    EXPECT_STREQ(chosen.Text(VersionText::ProductName), "Japanese name");
    EXPECT_STREQ(chosen.Text(VersionText::FileVersion), "2.0.0.0");

    // Without a translation entry the US English, Unicode table is read.
    std::string untranslated = test::VersionBlockBuilder::Build(tables, {}, false);
    SVersion fallback(Module(dir, "none.dll", untranslated, kJapanese).c_str());
    EXPECT_EQ(fallback.Language(), 0x0409);
    EXPECT_EQ(fallback.CodePage(), 0x04B0);
    EXPECT_STREQ(fallback.Text(VersionText::ProductName), "English name");
    EXPECT_STREQ(fallback.Text(VersionText::FileVersion), "1.0.0.0");

    // A translation naming a table that does not exist leaves every text empty.
    std::string orphan = test::VersionBlockBuilder::Build(tables, {0x04E40407u}, true);
    SVersion unmatched(Module(dir, "de.dll", orphan, kEnglishUs).c_str());
    EXPECT_EQ(unmatched.Language(), 0x0407);
    EXPECT_EQ(unmatched.CodePage(), 0x04E4);
    ExpectAllEmpty(unmatched);
}

TEST(VersionRecord, MissingNamesAreEmptyAndLongValuesAreCut) {
    test::TempDir dir;
    std::wstring longest(kVersionTextMax, L'a');
    std::wstring oneOver(kVersionTextMax + 1, L'b');
    std::wstring farOver(3000, L'c');
    std::vector<test::VersionTable> tables = {
        {"040904B0",
         {{L"CompanyName", longest}, {L"Comments", oneOver}, {L"FileDescription", farOver},
          {L"ProductVersion", L"9.8.7.6"}}},
    };
    std::string block = test::VersionBlockBuilder::Build(tables, {0x04B00409u}, true);
    SVersion version(Module(dir, "long.dll", block, kEnglishUs).c_str());

    EXPECT_EQ(std::string(version.Text(VersionText::CompanyName)), std::string(kVersionTextMax, 'a'));
    EXPECT_EQ(std::string(version.Text(VersionText::Comments)), std::string(kVersionTextMax, 'b'));
    EXPECT_EQ(std::string(version.Text(VersionText::FileDescription)),
              std::string(kVersionTextMax, 'c'));
    EXPECT_STREQ(version.Text(VersionText::ProductVersion), "9.8.7.6");
    for (VersionText absent : {VersionText::FileVersion, VersionText::InternalName,
                               VersionText::LegalCopyright, VersionText::LegalTradeMarks,
                               VersionText::OriginalFilename, VersionText::ProductName}) {
        EXPECT_STREQ(version.Text(absent), "");
    }
}

TEST(VersionRecord, TheLibraryHandsOutTheRecordOfTheSystemLanguage) {
    SVersion version(HALYARD_DLL_PATH);
    EXPECT_STREQ(version.Text(VersionText::CompanyName), "Tarnwick");
    EXPECT_STREQ(version.Text(VersionText::FileDescription), "Halyard");
    EXPECT_STREQ(version.Text(VersionText::OriginalFilename), "Halyard.dll");
    EXPECT_STREQ(version.Text(VersionText::LegalTradeMarks), "");
    if (GetACP() == 932) {
        EXPECT_EQ(version.Language(), 0x0411);
        EXPECT_STREQ(version.Text(VersionText::FileVersion), "4.1.4.0");
        EXPECT_STREQ(version.Text(VersionText::ProductVersion), "4.1.4.0");
        EXPECT_STREQ(version.Text(VersionText::ProductName),
                     "Becky! Halyard \x83v\x83\x89\x83O\x83" "C\x83\x93");
        // The description keeps its backslash and n as two characters.
        std::string comments = version.Text(VersionText::Comments);
        EXPECT_NE(comments.find("\x81" "B\x5Cn\x82\xDC"), std::string::npos) << comments;
        EXPECT_EQ(comments.find('\n'), std::string::npos);
        EXPECT_EQ(comments.size(), 141u);
    } else {
        EXPECT_EQ(version.Language(), 0x0409);
        EXPECT_STREQ(version.Text(VersionText::FileVersion), "4.1.3.0");
        EXPECT_STREQ(version.Text(VersionText::ProductVersion), "4.1.3.0");
        EXPECT_STREQ(version.Text(VersionText::ProductName), "Becky! Halyard Plugin");
        EXPECT_STREQ(version.Text(VersionText::Comments),
                     "Halyard replaces reply-address from your address-book.");
    }
}
