#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/platform.h"
#include "settings/settings.h"
#include "support/test_support.h"
#include "win32/common_win32_support.h"

namespace {

std::string Value(const std::string& path, const char* section, const char* key) {
    char buffer[1024];
    DWORD n = GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, n);
}

std::string DefaultWords() {
    const char* lc = std::getenv("LC_ALL");
    if (lc && std::strncmp(lc, "ja", 2) == 0) {
        return platform::Utf8ToAnsi("添付,送付,送ります,おくります,査収");
    }
    return "attached,attach,send";
}

class SettingsWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources.Loaded());
        reportFolder = platform::CommonAppDataFolder() + "\\Tarnwick\\Halyard";
        reportFile = reportFolder + "\\NOENTRY.txt";
        DeleteFileA(reportFile.c_str());
        path = dir.Join("Halyard.ini");
    }

    test::PluginResources resources;
    test::TempDir dir;
    std::string reportFolder;
    std::string reportFile;
    std::string path;
};

TEST_F(SettingsWin32, MissingFileGivesDefaultsAndWritesTwoKeys) {
    {
        SSettings s(path.c_str());
        EXPECT_TRUE(s.useAddrBook);
        EXPECT_EQ(s.replyFormat, 2);
        EXPECT_EQ(s.arrange, 1);
        EXPECT_FALSE(s.reportSwitch);
        EXPECT_EQ(std::string(s.reportFile), reportFile);
        EXPECT_TRUE(s.inspect);
        EXPECT_EQ(s.groupFormat, 1);
        EXPECT_EQ(s.attachWords.Join(), DefaultWords());
        EXPECT_EQ(s.hostAddressFormat, 2);
        EXPECT_STREQ(s.citation, "> ");
    }
    EXPECT_TRUE(platform::IsDirectory(reportFolder.c_str()));
    EXPECT_EQ(Value(path, "Attachment", "AttachWords"), DefaultWords());
    EXPECT_EQ(Value(path, "Settings", "ReportFile"), reportFile);

    // Present but empty is replaced at the next start.
    WritePrivateProfileStringA("Attachment", "AttachWords", "", path.c_str());
    {
        SSettings s(path.c_str());
        EXPECT_EQ(s.attachWords.Join(), DefaultWords());
    }
    EXPECT_EQ(Value(path, "Attachment", "AttachWords"), DefaultWords());

    // A report file at the default path: the settings file stays untouched.
    std::string other = dir.Join("Other.ini");
    test::WriteBytes(other, "[Attachment]\r\nAttachWords=x\r\n");
    test::WriteBytes(reportFile, "a@example.com\r\n");
    { SSettings s(other.c_str()); }
    EXPECT_EQ(Value(other, "Settings", "ReportFile"), "<none>");
    DeleteFileA(reportFile.c_str());
}

TEST_F(SettingsWin32, HostRegistryValues) {
    test::HostKey key;
    ASSERT_TRUE(key.Valid());
    key.SetString("Citation", ">> ");
    key.SetDword("AddrInputFmt", 1);
    SSettings s(path.c_str());
    EXPECT_STREQ(s.citation, ">> ");
    EXPECT_EQ(s.hostAddressFormat, 3);

    const std::pair<DWORD, int32_t> mapping[] = {{0, 2}, {1, 3}, {2, 1}, {5, 2}};
    for (auto [stored, format] : mapping) {
        key.SetDword("AddrInputFmt", stored);
        s.RefreshHostAddressFormat();
        EXPECT_EQ(s.hostAddressFormat, format) << stored;
    }
    const BYTE binary[4] = {2, 0, 0, 0};
    key.SetBinary("AddrInputFmt", binary, sizeof binary);
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 1);
    key.SetString("AddrInputFmt", "1");
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 3);
    key.Delete("AddrInputFmt");
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 2);

    key.SetString("Citation", std::string(127, 'q'));
    EXPECT_EQ(std::string(SSettings(path.c_str()).citation), std::string(127, 'q'));
    key.SetString("Citation", std::string(128, 'q'));
    EXPECT_STREQ(SSettings(path.c_str()).citation, "> ");
}

}  // namespace
