#include <gtest/gtest.h>

#include <string>

#include "settings/dialog_rules.h"
#include "settings/open_filter.h"
#include "settings/support_link.h"
#include "unit/common_locale.h"

namespace {

TEST(SettingsDialogRules, EnableStateFollowsTheTwoSwitchesAndTheLists) {
    DialogEnableState on = ComputeEnableState(true, false, true, false);
    EXPECT_TRUE(on.replyFormat && on.domainList && on.groupFormat && on.wordsList);

    // Unchecking the address book switch turns off the whole left side at once.
    DialogEnableState noBook = ComputeEnableState(false, false, true, false);
    EXPECT_FALSE(noBook.replyFormat);
    EXPECT_FALSE(noBook.domainList);
    EXPECT_FALSE(noBook.groupFormat);
    EXPECT_TRUE(noBook.wordsList);

    // No group domains: the list stays editable, its format has no use.
    DialogEnableState noDomains = ComputeEnableState(true, true, true, false);
    EXPECT_TRUE(noDomains.domainList);
    EXPECT_FALSE(noDomains.groupFormat);

    // No words: the list and all three of its buttons, Add included, go off.
    DialogEnableState noWords = ComputeEnableState(true, false, true, true);
    EXPECT_FALSE(noWords.wordsList);
    EXPECT_TRUE(noWords.domainList);

    DialogEnableState noInspect = ComputeEnableState(true, false, false, false);
    EXPECT_FALSE(noInspect.wordsList);
    EXPECT_TRUE(noInspect.groupFormat);
}

TEST(SettingsDialogRules, RadiosMapValuesBothWays) {
    EXPECT_EQ(RadioIndexForValue(0), 0);
    EXPECT_EQ(RadioIndexForValue(1), 1);
    EXPECT_EQ(RadioIndexForValue(3), 3);
    EXPECT_EQ(RadioIndexForValue(4), 0);
    EXPECT_EQ(RadioIndexForValue(-1), 0);

    bool none[kRadioCount] = {false, false, false, false};
    bool third[kRadioCount] = {false, false, true, false};
    bool twoChecked[kRadioCount] = {false, true, false, true};
    EXPECT_EQ(ValueFromRadios(none), 0);
    EXPECT_EQ(ValueFromRadios(third), 2);
    EXPECT_EQ(ValueFromRadios(twoChecked), 1);

    EXPECT_EQ(ArrangeFromRadios(true, false), 0);
    EXPECT_EQ(ArrangeFromRadios(false, true), 1);
    EXPECT_EQ(ArrangeFromRadios(true, true), 0);
    EXPECT_EQ(ArrangeFromRadios(false, false), 0);
}

TEST(SettingsDialogRules, PatternTakesTheTextOnceAndKeepsPercentSigns) {
    EXPECT_EQ(FillPattern("Halyard Settings [ %s ]", "4.1.3.0"), "Halyard Settings [ 4.1.3.0 ]");
    EXPECT_EQ(FillPattern("Sure to delete [%s] ?", "100%s %d"), "Sure to delete [100%s %d] ?");
    EXPECT_EQ(FillPattern("no slot", "x"), "no slot");
    EXPECT_EQ(FillPattern("[%s]", ""), "[]");
}

// Natively both code pages run; under Wine the one of the run's locale.
using SettingsDialogFilter = test::NativeReset;
using SettingsDialogLink = test::NativeReset;

TEST_F(SettingsDialogFilter, BarsBecomeNulButNotTrailBytes) {
    if (test::UseCodePage1252()) {
        const std::string english = OpenFileFilter("Text file|*.txt|All file|*.*||");
        EXPECT_EQ(english, std::string("Text file\0*.txt\0All file\0*.*\0\0\0\0", 32));
        // In 1252 0x83 is a character of its own, so the bar after it splits.
        EXPECT_EQ(OpenFileFilter("\x83|x"), std::string("\x83\0x\0\0", 5));
    }
    if (test::UseCodePage932()) {
        // 0x83 0x7C is one Shift_JIS character whose second byte is a bar.
        const std::string japanese = OpenFileFilter("\x83\x7C|*.txt||");
        EXPECT_EQ(japanese, std::string("\x83\x7C\0*.txt\0\0\0\0", 12));
        // A lead byte at the very end does not swallow what is not there.
        EXPECT_EQ(OpenFileFilter("a|\x83"), std::string("a\0\x83\0\0", 5));
    }
}

TEST_F(SettingsDialogLink, SubjectIsPercentEncodedUtf8) {
    if (test::UseCodePage1252()) {
        EXPECT_EQ(SupportMailLink("support@tarnwick.example", "About Halyard"),
                  "mailto:support@tarnwick.example?subject=About%20Halyard");
        EXPECT_EQ(SupportMailLink("a@b", "x&y=\xE9"), "mailto:a@b?subject=x%26y%3D%C3%A9");
    }
    if (test::UseCodePage932()) {
        // "について" in Shift_JIS.
        EXPECT_EQ(SupportMailLink("a@b", "\x82\xC9\x82\xC2\x82\xA2\x82\xC4"),
                  "mailto:a@b?subject=%E3%81%AB%E3%81%A4%E3%81%84%E3%81%A6");
    }
}

}  // namespace
