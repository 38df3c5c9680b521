#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/ini_file.h"
#include "common/platform.h"
#include "support/test_support.h"

namespace {

TEST(IniFile, StablePointersAndLongValues) {
    test::TempDir dir;
    std::string path = dir.Join("MailBox.ini");
    std::string value300(300, 'v');
    test::WriteBytes(path, "[Account]\r\nMailAddress=taro@example.com\r\nLong=" + value300 + "\r\n");
    SIniFile ini(path.c_str());

    const char* first = ini.GetString("Account", "MailAddress", "");
    EXPECT_STREQ(first, "taro@example.com");
    EXPECT_EQ(ini.GetString("Account", "MailAddress", ""), first);
    // Names without regard to case find the same entry.
    EXPECT_EQ(ini.GetString("ACCOUNT", "mailaddress", ""), first);

    const char* longValue = ini.GetString("Account", "Long", "");
    EXPECT_EQ(std::strlen(longValue), 300u);
    EXPECT_TRUE(std::string(longValue) == value300);

    EXPECT_STREQ(ini.GetString("Account", "PermCc", ""), "");
    EXPECT_STREQ(ini.GetString("Missing", "Key", "fallback"), "fallback");

    // The file is read on every call: a change is seen, the old pointer
    // for other keys stays.
    test::WriteBytes(path, "[Account]\r\nMailAddress=hanako@example.com\r\nLong=" + value300 + "\r\n");
    const char* changed = ini.GetString("Account", "MailAddress", "");
    EXPECT_STREQ(changed, "hanako@example.com");
    EXPECT_EQ(ini.GetString("Account", "Long", ""), longValue);

    // Values of exactly the buffer sizes the reader grows through.
    for (size_t n : {255u, 256u, 511u, 512u, 1023u}) {
        std::string v(n, 'a');
        test::WriteBytes(path, "[S]\r\nK=" + v + "\r\n");
        EXPECT_EQ(std::strlen(ini.GetString("S", "K", "")), n);
    }
    SIniFile missing(dir.Join("none.ini").c_str());
    EXPECT_STREQ(missing.GetString("Account", "MailAddress", "dflt"), "dflt");
}

TEST(Profile, ReaderRules) {
    test::TempDir dir;
    std::string path = dir.Join("p.ini");
    test::WriteBytes(path,
                     "; comment\r\n"
                     "[Settings]\r\n"
                     "  Spaced  =  value with spaces  \r\n"
                     "Quoted=\"in quotes\"\r\n"
                     "Number=42\r\n"
                     "Text=abc\r\n"
                     "Empty=\r\n"
                     "Number=7\r\n"
                     "[ Other ]\r\n"
                     "Number=-3\r\n"
                     "[settings]\r\n"
                     "Late=1\r\n");
    char buf[64];
    EXPECT_EQ(platform::ProfileGetString("settings", "spaced", "", buf, sizeof buf, path.c_str()), 17u);
    EXPECT_STREQ(buf, "value with spaces");
    platform::ProfileGetString("Settings", "Quoted", "", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, "in quotes");
    // A value cut at size - 1 counts size - 1.
    char small[5];
    EXPECT_EQ(platform::ProfileGetString("Settings", "Spaced", "", small, sizeof small, path.c_str()), 4u);
    EXPECT_STREQ(small, "valu");
    EXPECT_EQ(platform::ProfileGetString("Settings", "None", "dflt", buf, sizeof buf, path.c_str()), 4u);
    EXPECT_STREQ(buf, "dflt");

    EXPECT_EQ(platform::ProfileGetInt("Settings", "Number", 5, path.c_str()), 42);   // first wins
    EXPECT_EQ(platform::ProfileGetInt("Other", "Number", 5, path.c_str()), -3);
    EXPECT_EQ(platform::ProfileGetInt("Settings", "Text", 5, path.c_str()), 0);
    EXPECT_EQ(platform::ProfileGetInt("Settings", "Missing", 5, path.c_str()), 5);
    EXPECT_EQ(platform::ProfileGetInt("Nowhere", "Number", 9, dir.Join("none.ini").c_str()), 9);
}

TEST(Profile, WritingCreatesFileSectionAndKey) {
    test::TempDir dir;
    std::string path = dir.Join("w.ini");
    char buf[64];
    ASSERT_TRUE(platform::ProfileWriteString("Attachment", "AttachWords", "a,b", path.c_str()));
    platform::ProfileGetString("Attachment", "AttachWords", "", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, "a,b");
    ASSERT_TRUE(platform::ProfileWriteString("Settings", "ReportFile", "C:\\x.txt", path.c_str()));
    ASSERT_TRUE(platform::ProfileWriteString("attachment", "Inspect", "1", path.c_str()));
    ASSERT_TRUE(platform::ProfileWriteString("Attachment", "attachwords", "c", path.c_str()));
    platform::ProfileGetString("Attachment", "AttachWords", "", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, "c");
    EXPECT_EQ(platform::ProfileGetInt("Attachment", "Inspect", 0, path.c_str()), 1);
    platform::ProfileGetString("Settings", "ReportFile", "", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, "C:\\x.txt");
    // Writing into a folder that does not exist fails.
    EXPECT_FALSE(platform::ProfileWriteString("S", "K", "v", dir.Join("no/such/w.ini").c_str()));
}

}  // namespace
