#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "settings/settings.h"
#include "settings/settings_save.h"
#include "support/test_support.h"

namespace {

// The sections and keys of an INI file in file order, as "[Section]" and
// "Key=Value" lines.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TEST(SettingsDialogSave, WritesEveryEditedKeyInOrderAndReadsBack) {
    test::TempDir dir;
    const std::string path = dir.Join("Halyard.ini");
    {
        SSettings s{SSettings::DefaultsTag{}};
        s.settingsPath = path.c_str();
        s.useAddrBook = false;
        s.replyFormat = 3;
        s.arrange = 0;
        s.excludeReplyTo = false;
        s.selfExclude = true;
        s.serializeRcpts = false;
        s.reportSwitch = true;
        std::snprintf(s.reportFile, sizeof s.reportFile, "%s", "C:\\logs\\noentry.txt");
        s.addPluginHeader = false;
        s.ctrlNoEffect = true;
        s.replaceMessageView = true;
        s.replaceViewFormat = 2;
        s.extendTemplate = false;
        s.inspect = false;
        s.groupFormat = 0;
        s.ignoreCase = true;
        s.singleWarning = false;
        s.emptySubject = true;
        s.attachWordsWork.Clear();
        s.attachWordsWork.Append("enclosed");
        s.attachWordsWork.Append("see file, please");
        s.domainsWork.Clear();
        s.domainsWork.Append("example.com");
        s.excludeTo.Append("list@example.com");
        s.sendCheck = true;
        s.manyRecipients = 0;
        s.bccReplyAll = true;
        s.trustedDomainsWork.Append("example.net");
        s.trustedDomainsWork.Append("*.example.org");

        ASSERT_TRUE(SaveSettings(s));
        // The lists now are the edited copies.
        EXPECT_EQ(s.attachWords.Join(), "enclosed,see file, please");
        EXPECT_EQ(s.domains.Join(), "example.com");
    }

    const std::vector<std::string> expected = {
        "[Attachment]", "AttachWords=enclosed,see file, please", "Inspect=0",
        "[GroupDomain]", "Domains=example.com", "Format=0",
        "[SendCheck]", "TrustedDomains=example.net,*.example.org", "Enabled=1", "OnlyOutside=1",
        "ManyDomains=3", "ManyRecipients=0", "BccReplyAll=1",
        "[Settings]", "UseAddrBook=0", "ReplyFormat=3", "Arrange=0", "ExcludeReplyTo=0",
        "SelfExclude=1", "SerializeRcpts=0", "ReportSwitch=1", "ReportFile=C:\\logs\\noentry.txt",
        "AddPluginHeader=0", "CtrlNoEffect=1", "ReplaceMessageView=1", "ReplaceViewFormat=2",
        "ExtendTemplate=0", "IgnoreCase=1", "SingleWarning=0", "EmptySubject=1",
    };
    // The exclusion lists are not the dialog's: nothing of them is written.
    EXPECT_EQ(Lines(test::ReadBytes(path)), expected);

    SSettings back(path.c_str());
    EXPECT_FALSE(back.useAddrBook);
    EXPECT_EQ(back.replyFormat, 3);
    EXPECT_EQ(back.arrange, 0);
    EXPECT_TRUE(back.reportSwitch);
    EXPECT_STREQ(back.reportFile, "C:\\logs\\noentry.txt");
    EXPECT_EQ(back.replaceViewFormat, 2);
    EXPECT_FALSE(back.inspect);
    EXPECT_EQ(back.groupFormat, 0);
    EXPECT_TRUE(back.ignoreCase);
    EXPECT_FALSE(back.singleWarning);
    EXPECT_TRUE(back.sendCheck);
    EXPECT_EQ(back.manyRecipients, 0);
    EXPECT_TRUE(back.bccReplyAll);
    EXPECT_EQ(back.trustedDomains.Join(), "example.net,*.example.org");
    // An entry typed with a comma comes back as two entries.
    EXPECT_EQ(back.attachWords.Count(), 3u);
    EXPECT_EQ(back.attachWords.Join(), "enclosed,see file, please");
}

TEST(SettingsDialogSave, EntriesWithOuterBlanksOrQuotesReadBackUnchanged) {
    // The settings file's reader trims blanks around a value and drops one
    // pair of enclosing quotes; such values are saved in quotes.
    test::TempDir dir;
    const std::string path = dir.Join("Halyard.ini");
    const std::vector<std::vector<std::string>> lists = {
        {" send ", "attach"}, {"\"quoted", "words\""}, {"'single'"}, {"\"\""}, {"tab\t"},
    };
    for (const std::vector<std::string>& words : lists) {
        SSettings s{SSettings::DefaultsTag{}};
        s.settingsPath = path.c_str();
        s.attachWordsWork.Clear();
        for (const std::string& word : words) s.attachWordsWork.Append(word);
        s.domainsWork.CopyFrom(s.attachWordsWork);
        std::snprintf(s.reportFile, sizeof s.reportFile, "%s", (" C:\\logs\\" + words[0]).c_str());
        ASSERT_TRUE(SaveSettings(s));

        SSettings back(path.c_str());
        EXPECT_EQ(back.attachWords.Join(), s.attachWordsWork.Join());
        EXPECT_EQ(back.attachWords.Count(), words.size());
        EXPECT_EQ(back.domains.Join(), s.domainsWork.Join());
        EXPECT_STREQ(back.reportFile, s.reportFile);
    }
    // Other values are written as they are.
    SSettings s{SSettings::DefaultsTag{}};
    s.settingsPath = path.c_str();
    s.attachWordsWork.Clear();
    s.attachWordsWork.Append("a \"b\"");
    s.attachWordsWork.Append("'c");
    ASSERT_TRUE(SaveSettings(s));
    char value[64];
    platform::ProfileGetString("Attachment", "AttachWords", "", value, sizeof value, path.c_str());
    EXPECT_STREQ(value, "a \"b\",'c");
    EXPECT_NE(test::ReadBytes(path).find("AttachWords=a \"b\",'c\r\n"), std::string::npos);
}

TEST(SettingsDialogSave, EmptyListsAreWrittenEmptyAndFailuresAreReported) {
    test::TempDir dir;
    const std::string path = dir.Join("Halyard.ini");
    SSettings s{SSettings::DefaultsTag{}};
    s.settingsPath = path.c_str();
    s.attachWordsWork.Clear();
    ASSERT_TRUE(SaveSettings(s));
    EXPECT_TRUE(s.attachWords.Empty());
    char value[64];
    EXPECT_EQ(platform::ProfileGetString("Attachment", "AttachWords", "<none>", value, sizeof value,
                                         path.c_str()),
              0u);
    EXPECT_EQ(platform::ProfileGetString("GroupDomain", "Domains", "<none>", value, sizeof value,
                                         path.c_str()),
              0u);

    // A file inside a folder that does not exist cannot be written.
    const std::string missing = dir.Join("no such folder/Halyard.ini");
    s.settingsPath = missing.c_str();
    EXPECT_FALSE(SaveSettings(s));
    s.settingsPath = nullptr;
    EXPECT_FALSE(SaveSettings(s));
}

}  // namespace
