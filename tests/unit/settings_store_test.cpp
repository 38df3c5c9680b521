#include <gtest/gtest.h>

#include <string>

#include "common/platform.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/settings_save.h"
#include "support/test_support.h"
#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

namespace {

std::string Value(const std::string& path, const char* section, const char* key) {
    char buffer[1024];
    size_t n = platform::ProfileGetString(section, key, "<none>", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, n);
}

// Values from the file, on both platforms (nothing here depends on the
// registry or the string table).
TEST(SettingsStore, ReadsValuesFromTheFile) {
    test::TempDir dir;
    std::string path = dir.Join("Halyard.ini");
    test::WriteBytes(path,
                     "[Settings]\r\n"
                     "UseAddrBook=0\r\nReplyFormat=3\r\nArrange=5\r\nExcludeReplyTo=0\r\n"
                     "SelfExclude=0\r\nSerializeRcpts=0\r\nReportSwitch=2\r\n"
                     "ReportFile=D:\\logs\\unlisted.txt\r\nAddPluginHeader=0\r\nCtrlNoEffect=0\r\n"
                     "ReplaceMessageView=1\r\nReplaceViewFormat=3\r\nExtendTemplate=0\r\n"
                     "IgnoreCase=1\r\nSingleWarning=0\r\nEmptySubject=abc\r\n"
                     "[Attachment]\r\nInspect=0\r\nAttachWords=file,,enclosed, doc\r\n"
                     "ExcludeSubject=[ML]\r\nExcludeTo=list@example.com\r\nExcludeCc=a,b\r\n"
                     "ExcludeBcc=c\r\n"
                     "[GroupDomain]\r\nFormat=0\r\nDomains=example.com,example.org\r\n");
    SSettings s(path.c_str());
    EXPECT_EQ(s.settingsPath, path.c_str());
    EXPECT_FALSE(s.useAddrBook);
    EXPECT_EQ(s.replyFormat, 3);
    EXPECT_EQ(s.arrange, 5);   // kept as read
    EXPECT_FALSE(s.excludeReplyTo);
    EXPECT_FALSE(s.selfExclude);
    EXPECT_FALSE(s.serializeRcpts);
    EXPECT_TRUE(s.reportSwitch);   // any non-zero is on
    EXPECT_STREQ(s.reportFile, "D:\\logs\\unlisted.txt");
    EXPECT_FALSE(s.addPluginHeader);
    EXPECT_FALSE(s.ctrlNoEffect);
    EXPECT_TRUE(s.replaceMessageView);
    EXPECT_EQ(s.replaceViewFormat, 3);
    EXPECT_FALSE(s.extendTemplate);
    EXPECT_TRUE(s.ignoreCase);
    EXPECT_FALSE(s.singleWarning);
    EXPECT_FALSE(s.emptySubject);   // not a number: 0
    EXPECT_FALSE(s.inspect);
    EXPECT_EQ(s.attachWords.Join(), "file,enclosed, doc");
    EXPECT_EQ(s.attachWordsWork.Join(), "file,enclosed, doc");
    EXPECT_NE(s.attachWordsWork.begin()->data(), s.attachWords.begin()->data());
    EXPECT_EQ(s.excludeSubject.Join(), "[ML]");
    EXPECT_EQ(s.excludeTo.Join(), "list@example.com");
    EXPECT_EQ(s.excludeCc.Count(), 2u);
    EXPECT_EQ(s.excludeBcc.Join(), "c");
    EXPECT_EQ(s.groupFormat, 0);
    EXPECT_EQ(s.domains.Join(), "example.com,example.org");
    EXPECT_EQ(s.domainsWork.Join(), "example.com,example.org");
    // Nothing empty with a default: the attachment words stay as they were.
    EXPECT_EQ(Value(path, "Attachment", "AttachWords"), "file,,enclosed, doc");
}

// The send check's section: its defaults leave the check and the blind-copy
// warning off, and its values and trusted-domain list read as written.
TEST(SettingsStore, SendCheckSection) {
    test::TempDir dir;
    const std::string path = dir.Join("Halyard.ini");
    test::WriteBytes(path, "");
    {
        const SSettings s(path.c_str());
        EXPECT_FALSE(s.sendCheck);
        EXPECT_TRUE(s.sendCheckOnlyOutside);
        EXPECT_TRUE(s.trustedDomains.Empty());
        EXPECT_EQ(s.manyDomains, 3);
        EXPECT_EQ(s.manyRecipients, 15);
        EXPECT_FALSE(s.bccReplyAll);
        // Reading wrote nothing of the section.
        EXPECT_EQ(Value(path, "SendCheck", "TrustedDomains"), "<none>");
    }
    test::WriteBytes(path,
                     "[SendCheck]\r\nEnabled=1\r\nOnlyOutside=0\r\n"
                     "TrustedDomains=example.com,,*.example.org\r\n"
                     "ManyDomains=0\r\nManyRecipients=-2\r\nBccReplyAll=7\r\n");
    const SSettings s(path.c_str());
    EXPECT_TRUE(s.sendCheck);
    EXPECT_FALSE(s.sendCheckOnlyOutside);
    EXPECT_EQ(s.trustedDomains.Count(), 2u);
    EXPECT_EQ(s.trustedDomains.Join(), "example.com,*.example.org");
    EXPECT_EQ(s.trustedDomainsWork.Join(), "example.com,*.example.org");
    EXPECT_EQ(s.manyDomains, 0);
    EXPECT_EQ(s.manyRecipients, -2);   // kept as read; the check treats it as off
    EXPECT_TRUE(s.bccReplyAll);
}

TEST(SettingsStore, NoFileIsAnError) {
    EXPECT_THROW(SSettings(nullptr), std::runtime_error);
    EXPECT_THROW(SSettings(""), std::runtime_error);
}

// Reading, saving and the defaults share one table: an empty file reads as
// the defaults, and what is saved reads back unchanged.
TEST(SettingsStore, DefaultsFileAndSaveAgreeOnEveryOption) {
    test::TempDir dir;
    const std::string path = dir.Join("table.ini");
    test::WriteBytes(path, "");
    const SSettings defaults{SSettings::DefaultsTag{}};
    SSettings read(path.c_str());
    for (const OptionKey& option : kOptionKeys) {
        SCOPED_TRACE(option.key);
        if (option.flag) EXPECT_EQ(read.*option.flag, defaults.*option.flag);
        else EXPECT_EQ(read.*option.number, defaults.*option.number);
    }

    // Every option away from its default, saved and read again.
    for (const OptionKey& option : kOptionKeys) {
        if (option.flag) read.*option.flag = !(read.*option.flag);
        else read.*option.number = read.*option.number + 1;
    }
    ASSERT_TRUE(SaveSettings(read));
    const SSettings back(path.c_str());
    for (const OptionKey& option : kOptionKeys) {
        SCOPED_TRACE(option.key);
        if (option.flag) EXPECT_EQ(back.*option.flag, !(defaults.*option.flag));
        else EXPECT_EQ(back.*option.number, defaults.*option.number + 1);
    }
}

#if !defined(_WIN32)

class SettingsNative : public ::testing::Test {
protected:
    void SetUp() override {
        platform::testing::Reset();
        platform::testing::SetResString(kStrDefaultAttachWords, "attached,attach,send");
        platform::testing::SetCommonAppDataFolder(dir.Join("ProgramData"));
        path = dir.Join("Roaming/Tarnwick/Halyard/Halyard.ini");
        platform::CreateDirectories(dir.Join("Roaming/Tarnwick/Halyard").c_str());
    }
    void TearDown() override { platform::testing::Reset(); }
    std::string ReportDefault() const {
        return dir.Join("ProgramData") + "\\Tarnwick\\Halyard\\NOENTRY.txt";
    }

    test::TempDir dir;
    std::string path;
};

TEST_F(SettingsNative, MissingFileGivesDefaultsAndWritesTwoKeys) {
    SSettings s(path.c_str());
    EXPECT_TRUE(s.useAddrBook);
    EXPECT_EQ(s.replyFormat, 2);
    EXPECT_EQ(s.arrange, 1);
    EXPECT_TRUE(s.excludeReplyTo);
    EXPECT_TRUE(s.selfExclude);
    EXPECT_TRUE(s.serializeRcpts);
    EXPECT_FALSE(s.reportSwitch);
    EXPECT_EQ(std::string(s.reportFile), ReportDefault());
    EXPECT_TRUE(s.addPluginHeader);
    EXPECT_TRUE(s.ctrlNoEffect);
    EXPECT_FALSE(s.replaceMessageView);
    EXPECT_EQ(s.replaceViewFormat, 0);
    EXPECT_TRUE(s.inspect);
    EXPECT_TRUE(s.extendTemplate);
    EXPECT_EQ(s.groupFormat, 1);
    EXPECT_TRUE(s.domains.Empty());
    EXPECT_FALSE(s.ignoreCase);
    EXPECT_TRUE(s.singleWarning);
    EXPECT_TRUE(s.emptySubject);
    EXPECT_EQ(s.attachWords.Join(), "attached,attach,send");
    EXPECT_EQ(s.attachWordsWork.Join(), "attached,attach,send");
    EXPECT_TRUE(s.excludeSubject.Empty() && s.excludeTo.Empty() && s.excludeCc.Empty() &&
                s.excludeBcc.Empty());
    EXPECT_EQ(s.hostAddressFormat, 2);
    EXPECT_STREQ(s.citation, "> ");

    // The report folder exists; the file holds the two written keys.
    EXPECT_TRUE(platform::IsDirectory((dir.Join("ProgramData") + "\\Tarnwick\\Halyard").c_str()));
    EXPECT_EQ(Value(path, "Attachment", "AttachWords"), "attached,attach,send");
    EXPECT_EQ(Value(path, "Settings", "ReportFile"), ReportDefault());
    EXPECT_EQ(Value(path, "Settings", "UseAddrBook"), "<none>");

    // The defaults object agrees with a missing file.
    SSettings d{SSettings::DefaultsTag{}};
    EXPECT_STREQ(d.reportFile, s.reportFile);
    EXPECT_EQ(d.attachWords.Join(), s.attachWords.Join());
    EXPECT_EQ(d.replyFormat, s.replyFormat);
    EXPECT_EQ(d.hostAddressFormat, s.hostAddressFormat);
}

TEST_F(SettingsNative, EmptyAttachWordsAndReportFileRules) {
    test::WriteBytes(path, "[Attachment]\r\nAttachWords=\r\n[Settings]\r\nReportFile=C:\\r.txt\r\n");
    {
        SSettings s(path.c_str());
        EXPECT_EQ(s.attachWords.Join(), "attached,attach,send");
        EXPECT_STREQ(s.reportFile, "C:\\r.txt");
    }
    EXPECT_EQ(Value(path, "Attachment", "AttachWords"), "attached,attach,send");
    EXPECT_EQ(Value(path, "Settings", "ReportFile"), "C:\\r.txt");

    // With a report file present at the default path nothing is written.
    std::string fresh = dir.Join("Roaming/Tarnwick/Halyard/Other.ini");
    test::WriteBytes(fresh, "[Attachment]\r\nAttachWords=x\r\n");
    platform::CreateDirectories((dir.Join("ProgramData") + "\\Tarnwick\\Halyard").c_str());
    test::WriteBytes(dir.Join("ProgramData/Tarnwick/Halyard/NOENTRY.txt"), "a@example.com\r\n");
    std::string before = test::ReadBytes(fresh);
    {
        SSettings s(fresh.c_str());
        EXPECT_EQ(std::string(s.reportFile), ReportDefault());
    }
    EXPECT_EQ(test::ReadBytes(fresh), before);
}

TEST_F(SettingsNative, NoCommonFolderPutsReportBesideSettings) {
    platform::testing::SetCommonAppDataFolder("");
    SSettings s(path.c_str());
    EXPECT_EQ(std::string(s.reportFile), dir.Join("Roaming/Tarnwick/Halyard") + "\\NOENTRY.txt");
}

TEST_F(SettingsNative, HostRegistryValues) {
    using platform::testing::DwordValue;
    using platform::testing::SetHostValue;
    using platform::testing::StringValue;
    // Values without the key are not seen.
    SetHostValue("AddrInputFmt", DwordValue(2));
    SetHostValue("Citation", StringValue("| "));
    {
        SSettings s(path.c_str());
        EXPECT_EQ(s.hostAddressFormat, 2);
        EXPECT_STREQ(s.citation, "> ");
    }
    platform::testing::SetHostKeyExists(true);
    SSettings s(path.c_str());
    EXPECT_EQ(s.hostAddressFormat, 1);
    EXPECT_STREQ(s.citation, "| ");

    const std::pair<uint32_t, int32_t> mapping[] = {{0, 2}, {1, 3}, {2, 1}, {5, 2}};
    for (auto [stored, format] : mapping) {
        SetHostValue("AddrInputFmt", DwordValue(stored));
        s.RefreshHostAddressFormat();
        EXPECT_EQ(s.hostAddressFormat, format) << stored;
    }
    // A 4-byte binary, a short string, and values that cannot be a format.
    SetHostValue("AddrInputFmt", platform::RegistryValue{3, {1, 0, 0, 0}});
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 3);
    SetHostValue("AddrInputFmt", StringValue("2"));
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 1);
    SetHostValue("AddrInputFmt", platform::RegistryValue{3, {1, 0, 0, 0, 0, 0, 0, 0}});
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 2);
    SetHostValue("AddrInputFmt", StringValue("x"));
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 2);
    platform::testing::ClearHostValue("AddrInputFmt");
    SetHostValue("AddrInputFmt", DwordValue(1));
    platform::testing::SetHostKeyExists(false);
    s.RefreshHostAddressFormat();
    EXPECT_EQ(s.hostAddressFormat, 2);
    platform::testing::SetHostKeyExists(true);

    // Citation: 127 characters fit, 128 fall back, empty is kept.
    SetHostValue("Citation", StringValue(std::string(127, 'c')));
    EXPECT_EQ(std::string(SSettings(path.c_str()).citation), std::string(127, 'c'));
    SetHostValue("Citation", StringValue(std::string(128, 'c')));
    EXPECT_STREQ(SSettings(path.c_str()).citation, "> ");
    SetHostValue("Citation", platform::RegistryValue{1, std::vector<uint8_t>(128, 'c')});
    EXPECT_STREQ(SSettings(path.c_str()).citation, "> ");
    SetHostValue("Citation", StringValue(""));
    EXPECT_STREQ(SSettings(path.c_str()).citation, "");
    platform::testing::ClearHostValue("Citation");
    EXPECT_STREQ(SSettings(path.c_str()).citation, "> ");
}

#endif  // !_WIN32

}  // namespace
