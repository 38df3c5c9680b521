// The actions of a setup-dialog block as the script reader takes them: what
// each one holds, and the mistakes that refuse the script before it runs.
#include <gtest/gtest.h>

#include "dialog_actions.h"
#include "script.h"

namespace {

std::vector<SDialogAction> Actions(const std::string& block) {
    SScript script;
    std::string error;
    EXPECT_TRUE(ParseScript("start\nsetup-dialog\n" + block + ".\n", &script, &error)) << error;
    return script.commands.size() == 2 ? script.commands[1].actions : std::vector<SDialogAction>{};
}

std::string Refused(const std::string& block) {
    SScript script;
    std::string error;
    EXPECT_FALSE(ParseScript("start\nsetup-dialog\n" + block + ".\n", &script, &error)) << block;
    return error;
}

TEST(BkhostDialogActions, OkAndCancelOfAnotherDialogNameItsTitle) {
    std::vector<SDialogAction> a = Actions("ok-dialog Send check settings\ncancel-dialog Edit token\n");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0].verb, SDialogVerb::OkDialog);
    EXPECT_EQ(a[0].text, "Send check settings");
    EXPECT_EQ(a[1].verb, SDialogVerb::CancelDialog);
    EXPECT_EQ(a[2].verb, SDialogVerb::Cancel);
    EXPECT_NE(Refused("ok-dialog\n"), "");
}

TEST(BkhostDialogActions, EachActionHoldsWhatItNeeds) {
    std::vector<SDialogAction> a = Actions(
        "# a comment, and a blank line\n\n"
        "click 1054\n"
        "check 1063 off\n"
        "type 1016 %DATA%\\r.txt\n"
        "type 1016\n"
        "select 1057 2\n"
        "token a, b\n"
        "token\n"
        "expect-text 1062: x: y\n"
        "expect-list 1057:\n"
        "expect-enabled 1058 no\n"
        "answer Yes\n"
        "screenshot settings_en\n"
        "ok\n");
    ASSERT_EQ(a.size(), 13u);
    EXPECT_EQ(a[0].verb, SDialogVerb::Click);
    EXPECT_EQ(a[0].id, 1054);
    EXPECT_EQ(a[0].line, 5);
    EXPECT_EQ(a[0].written, "click 1054");
    EXPECT_FALSE(a[1].yes);
    // Action text keeps its backslashes: it takes no escapes.
    EXPECT_EQ(a[2].text, "%DATA%\\r.txt");
    EXPECT_EQ(a[3].text, "");
    EXPECT_EQ(a[4].index, 2);
    EXPECT_EQ(a[5].text, "a, b");
    EXPECT_EQ(a[6].verb, SDialogVerb::Token);
    EXPECT_EQ(a[6].text, "");
    EXPECT_EQ(a[7].id, 1062);
    EXPECT_EQ(a[7].text, "x: y");
    EXPECT_EQ(a[8].text, "");
    EXPECT_FALSE(a[9].yes);
    EXPECT_EQ(a[10].text, "Yes");
    EXPECT_EQ(a[12].verb, SDialogVerb::Ok);

    // A block without ok or cancel ends with an unwritten cancel.
    std::vector<SDialogAction> open = Actions("expect-checked 1063 yes\n");
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[1].verb, SDialogVerb::Cancel);
    EXPECT_EQ(open[1].written, "");
}

TEST(BkhostDialogActions, MistakesRefuseTheScript) {
    EXPECT_EQ(Refused("press 1\n"), "line 3: unknown dialog action \"press\"");
    EXPECT_EQ(Refused("ok\nclick 1\n"), "line 4: ok or cancel ends the block; nothing may follow");
    EXPECT_NE(Refused("click\n").find("not a control identifier"), std::string::npos);
    EXPECT_NE(Refused("click -1\n").find("not a control identifier"), std::string::npos);
    EXPECT_NE(Refused("click 70000\n").find("not a control identifier"), std::string::npos);
    EXPECT_NE(Refused("click 1 2\n").find("write click ID"), std::string::npos);
    EXPECT_NE(Refused("check 1063 yes\n").find("on"), std::string::npos);
    EXPECT_NE(Refused("expect-enabled 1063 on\n").find("yes"), std::string::npos);
    EXPECT_NE(Refused("select 1057\n").find("INDEX"), std::string::npos);
    EXPECT_NE(Refused("expect-text 1016 x\n").find("ID: TEXT"), std::string::npos);
    EXPECT_NE(Refused("answer Maybe\n").find("OK, Cancel, Yes and No"), std::string::npos);
    EXPECT_NE(Refused("screenshot ../x\n").find("picture"), std::string::npos);
    EXPECT_NE(Refused("screenshot .hidden\n").find("picture"), std::string::npos);
    EXPECT_NE(Refused("ok now\n").find("takes no argument"), std::string::npos);
    EXPECT_NE(Refused("wait-closed\n").find("needs an argument"), std::string::npos);
}

}  // namespace
