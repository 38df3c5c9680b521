// The built library's resources as the system hands them out: strings and
// version texts in the ANSI code page of the run (Shift_JIS under 932).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

constexpr int kFirstString = 1;
constexpr int kLastString = 40;   // 39: the help page shipped beside the library; 40: undo of an edited template

class ResourceModule : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA(HALYARD_DLL_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    std::string String(int id) const {
        char text[1024] = {};
        int length = LoadStringA(module_, id, text, sizeof text);
        return std::string(text, length > 0 ? length : 0);
    }
    bool Japanese() const { return GetACP() == 932; }

    HMODULE module_ = nullptr;
};

std::string VersionValue(const std::vector<char>& block, const char* table, const char* name) {
    std::string path = std::string("\\StringFileInfo\\") + table + "\\" + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        !value)
        return "<absent>";
    return value;
}

}  // namespace

TEST_F(ResourceModule, TheRunHasTheLocaleItAskedFor) {
    const char* locale = std::getenv("LC_ALL");
    if (!locale) GTEST_SKIP() << "LC_ALL not set";
    if (std::strncmp(locale, "ja_JP", 5) == 0) {
        EXPECT_EQ(GetACP(), 932u);
    } else if (std::strncmp(locale, "en_US", 5) == 0) {
        EXPECT_EQ(GetACP(), 1252u);
    }
}

TEST_F(ResourceModule, EveryStringExistsInTheLanguageOfTheSystem) {
    for (int id = kFirstString; id <= kLastString; ++id) EXPECT_FALSE(String(id).empty()) << id;
    EXPECT_TRUE(String(kLastString + 1).empty());

    if (Japanese()) {
        EXPECT_EQ(String(12), "\x8D\xB7\x8Fo\x90l\x81" "F");   // 差出人：
        EXPECT_EQ(String(13), "Halyard \x83G\x83\x89\x81[\x83\x81\x83" "b\x83Z\x81[\x83W");
        EXPECT_EQ(String(15), "\x83" "A\x83h\x83\x8C\x83X\x92\xA0\x82\xCC\x8E\xE6\x82\xE8\x8D\x9E"
                              "\x82\xDD\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD");
        EXPECT_EQ(String(18), "\x91S\x88\xF5\x95\xD4\x90M\x82\xC9\x95\xCF\x8DX");
        // The template engine's caption, in the language of its messages.
        EXPECT_EQ(String(20), "Halyard \x83G\x83\x89\x81[");   // Halyard エラー
        // A line break, not a backslash and n.
        EXPECT_EQ(String(31), "\x8D\x80\x96\xDA[%s]\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7"
                              "\x81" "B\x0A\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81H");
        EXPECT_EQ(String(21), "\x93Y\x95t,\x91\x97\x95t,\x91\x97\x82\xE8\x82\xDC\x82\xB7,"
                              "\x82\xA8\x82\xAD\x82\xE8\x82\xDC\x82\xB7,\x8D\xB8\x8E\xFB");
        std::string attachment = String(22);
        EXPECT_EQ(attachment.find('\\'), std::string::npos);
        EXPECT_EQ(std::count(attachment.begin(), attachment.end(), '\n'), 2);
        EXPECT_EQ(String(39), "HalyardHelp\\ja.html");
        // 展開したテンプレートが編集されているため、元に戻せません。
        EXPECT_EQ(String(40), "\x93W\x8AJ\x82\xB5\x82\xBD\x83" "e\x83\x93\x83v\x83\x8C\x81[\x83g"
                              "\x82\xAA\x95\xD2\x8FW\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xE9"
                              "\x82\xBD\x82\xDF\x81" "A\x8C\xB3\x82\xC9\x96\xDF\x82\xB9\x82\xDC"
                              "\x82\xB9\x82\xF1\x81" "B");
    } else {
        EXPECT_EQ(String(12), "From:");
        EXPECT_EQ(String(13), "Halyard Error Message");
        EXPECT_EQ(String(20), "Halyard Error");
        EXPECT_EQ(String(14), "Cannot read version information from DLL.");
        EXPECT_EQ(String(6), "Text file|*.txt|All file|*.*||");
        EXPECT_EQ(String(21), "attached,attach,send");
        EXPECT_EQ(String(22),
                  "Halyard plugin is wondered this mail need file attached.\n If you want to "
                  "attach files, please press [Cancel] button.");
        EXPECT_EQ(String(36),
                  "The subject of mail seems to be inappropriate.\n If you back to edit, please "
                  "press [Cancel] button.");
        EXPECT_EQ(String(38), "Halyard Update");
        EXPECT_EQ(String(39), "HalyardHelp\\en.html");
        EXPECT_EQ(String(40), "The expanded template was edited, so it cannot be undone.");
    }
}

TEST_F(ResourceModule, BothVersionRecordsAreThereAndTheSystemPicksItsOwn) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(HALYARD_DLL_PATH, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(HALYARD_DLL_PATH, 0, size, block.data()));

    DWORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);   // one entry per record
    if (Japanese()) {
        EXPECT_EQ(*translation, 0x04B00411u);
        EXPECT_EQ(VersionValue(block, "041104B0", "FileVersion"), "4.1.4.0");
        EXPECT_EQ(VersionValue(block, "041104B0", "ProductName"),
                  "Becky! Halyard \x83v\x83\x89\x83O\x83" "C\x83\x93");
        std::string comments = VersionValue(block, "041104B0", "Comments");
        EXPECT_EQ(comments.substr(0, 9), "Halyard\x82\xC5");
        EXPECT_NE(comments.find("\x5Cn"), std::string::npos);
        EXPECT_EQ(VersionValue(block, "040904B0", "FileVersion"), "<absent>");
    } else {
        EXPECT_EQ(*translation, 0x04B00409u);
        EXPECT_EQ(VersionValue(block, "040904B0", "FileVersion"), "4.1.3.0");
        EXPECT_EQ(VersionValue(block, "040904B0", "ProductName"), "Becky! Halyard Plugin");
        EXPECT_EQ(VersionValue(block, "041104B0", "FileVersion"), "<absent>");
    }
    EXPECT_EQ(VersionValue(block, Japanese() ? "041104B0" : "040904B0", "CompanyName"), "Tarnwick");

    // Both records are present whatever the system picks.
    for (WORD language : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                          MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)}) {
        EXPECT_NE(FindResourceExA(module_, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), language),
                  nullptr)
            << language;
    }
}

TEST_F(ResourceModule, MenuBitmapsAreSixteenColourSixteenBySixteen) {
    for (int id : {IDB_REPLY, IDB_REPLY_ALL}) {
        HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
        ASSERT_NE(found, nullptr) << id;
        auto header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module_, found)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, 16);
        EXPECT_EQ(header->biHeight, 16);
        EXPECT_EQ(header->biBitCount, 4);

        HBITMAP bitmap = LoadBitmapA(module_, MAKEINTRESOURCEA(id));
        ASSERT_NE(bitmap, nullptr) << id;
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 16);
        EXPECT_EQ(info.bmHeight, 16);
        DeleteObject(bitmap);
    }

    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(module_, MAKEINTRESOURCEA(IDI_HALYARD), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour = {};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}
