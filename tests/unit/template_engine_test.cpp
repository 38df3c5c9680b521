// Expansion and undo on a compose window: the text the host holds, the
// undo table, and the faults an endless or misplaced expansion would cause.
#include <gtest/gtest.h>

#include <string>

#include "common/platform.h"
#include "template/extend_template.h"
#include "support/fake_host.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

namespace fakehost {
namespace {

class EngineTest : public ComposeTest {
protected:
    void SetUp() override {
        ComposeTest::SetUp();
        WriteFolder("Friends", {
            {"Ann Smith", "ann@example.com", "Acme", "Sales", "Smith", "Ann"},
            {"Bob Jones", "bob@example.com", "Acme", "Sales", "Jones", "Bob"},
            {"Cid Moss", "cid@example.com", "Zeta", "", "Moss", "Cid"},
        });
        scope.LoadAddressBook();
        Fake().compose["To"] = "ann@example.com, bob@example.com";
        Fake().compose["Cc"] = "Cid <cid@example.com>";
    }
    void TearDown() override { EXPECT_EQ(Fake().liveTexts, 0) << "host texts not freed"; }

    SExtendTemplate engine;
};

TEST_F(EngineTest, ExpandsToAndCcCommands) {
    Fake().body = "Dear $t($n, ),\r\ncopy: $cCc: ($o $n)\r\n";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Dear Ann Smith, Bob Jones,\r\ncopy: Cc: Zeta Cid Moss\r\n");
    EXPECT_EQ(Fake().setTextCalls, 2);
    EXPECT_EQ(engine.UndoEntryCount(), 1u);

    // The command's column counts what precedes it on its line.
    Fake().body = "Greetings to $t16($n, )";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Greetings to \r\nAnn Smith, \r\nBob Jones");

    // Without an address index nobody is listed: the header's own names.
    scope.work.addrBook = nullptr;
    Fake().compose["To"] = "Ann S <ann@example.com>, bob@example.com";
    Fake().body = "$t($n, $o)";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Ann S, bob@example.com");
}

TEST_F(EngineTest, NothingToDo) {
    Fake().body = "No command here, only $t( and $c.";
    EXPECT_FALSE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().setTextCalls, 0);

    Fake().noBody = true;
    EXPECT_FALSE(engine.ExpandTemplates(scope.work, window));

    // An HTML body is never expanded, whatever the case of its type.
    Fake().noBody = false;
    for (const char* type : {"text/html", "Text/HTML; charset=utf-8"}) {
        Fake().mimeType = type;
        Fake().body = "<p>$t($n)</p>";
        EXPECT_FALSE(engine.ExpandTemplates(scope.work, window)) << type;
        EXPECT_EQ(Fake().body, "<p>$t($n)</p>");
    }
    EXPECT_EQ(Fake().setTextCalls, 0);
    EXPECT_EQ(engine.UndoEntryCount(), 0u);

    // No recipients: the command goes, prefix and all.
    Fake().mimeType = "text/plain";
    Fake().compose["To"] = "";
    Fake().body = "[$tTo: ($n)]";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "[]");
}

TEST_F(EngineTest, OutputIsNeverExpandedAgain) {
    // A display name that reads as a command: the literal rule of searching
    // the text again from its start would expand it for ever.
    WriteFolder("Odd", {{"$t($n)", "odd@example.com", "$c($n)", "", "", ""}});
    scope.LoadAddressBook();
    Fake().compose["To"] = "odd@example.com";
    Fake().body = "$t($n) and $t($o)";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "$t($n) and $c($n)");
    EXPECT_EQ(Fake().setTextCalls, 2);

    // The "$c" pass skips what the "$t" pass wrote, but finds its own
    // commands before and after it.
    Fake().setTextCalls = 0;
    Fake().body = "$c($n) $t($o) $c($n)";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Cid Moss $c($n) Cid Moss");
    EXPECT_EQ(Fake().setTextCalls, 3);

    // The text around an expansion is not joined into a command either,
    // even when the expansion wrote nothing.
    Fake().body = "$c($t($f)$n)";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "$c($n)");

    // A later request does look at the text again: the user asked for it.
    Fake().body = "$t($n) and $t($o)";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "$t($n) and Cid Moss");
}

TEST_F(EngineTest, UndoRestoresTheLastCommandOfEachKeyword) {
    Fake().body = "$t($n, )\r\n$t($f)\r\n$c($n)";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Ann Smith, Bob Jones\r\nSmithJones\r\nCid Moss");
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "Ann Smith, Bob Jones\r\n$t($f)\r\n$c($n)");

    // The entry is gone once undone.
    EXPECT_EQ(engine.UndoEntryCount(), 0u);
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));

    // An expansion that reaches the very end of the text undoes.
    Fake().body = "Hello $tTo: ($n, )";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Hello To: Ann Smith, Bob Jones");
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "Hello $tTo: ($n, )");

    // So does one that wrote nothing at the very end.
    Fake().compose["To"] = "";
    Fake().body = "Hello $t($n)";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Hello ");
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "Hello $t($n)");
}

TEST_F(EngineTest, UndoFollowsTheTextThatMovedUnderIt) {
    // Two "$c" commands before the "$t" one: restoring the second must put
    // the "$t" command back where its output now stands, not where it stood
    // before the "$c" expansions moved it.
    Fake().body = "$c($n)|$c($f)|$t($n, )|end";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Cid Moss|Moss|Ann Smith, Bob Jones|end");
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "Cid Moss|$c($f)|$t($n, )|end");

    // A second request may expand a command that the first one wrote; undo
    // takes the latest expansion back first.
    WriteFolder("Odd", {{"Odd", "odd@example.com", "$c($n)", "", "", ""}});
    scope.LoadAddressBook();
    Fake().compose["To"] = "odd@example.com";
    Fake().body = "A $t($o) B";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "A $c($n) B");
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "A Cid Moss B");
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "A $t($o) B");
}

TEST_F(EngineTest, UndoRefusesAnEditedText) {
    Fake().body = "$t($n, ) end";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    // The user typed before the listing: restoring at the old place would
    // overwrite their text.
    Fake().body = "Hi! " + Fake().body;
    const std::string edited = Fake().body;
    const int writes = Fake().setTextCalls;
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, edited);
    EXPECT_EQ(Fake().setTextCalls, writes);
    // The entry is dropped whatever the outcome.
    EXPECT_EQ(engine.UndoEntryCount(), 0u);

    // A text cut short of the listing fails too.
    Fake().body = "$t($n, ) end";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    Fake().body = "Ann";
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "Ann");

    // No body: nothing happens, the entry stays for a later try.
    Fake().body = "$t($n, ) end";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    Fake().noBody = true;
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));
    Fake().noBody = false;
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "$t($n, ) end");
}

TEST_F(EngineTest, WindowsAndTheirEntries) {
    HostWindow second = scope.NewWindow();
    HostWindow third = scope.NewWindow();
    for (HostWindow w : {window, second, third}) {
        Fake().body = "$t($n)";
        ASSERT_TRUE(engine.ExpandTemplates(scope.work, w));
    }
    EXPECT_EQ(engine.UndoEntryCount(), 3u);

    // A message sent: its entry goes.
    engine.ForgetWindow(third);
    EXPECT_EQ(engine.UndoEntryCount(), 2u);
    EXPECT_FALSE(engine.UndoTemplates(scope.host, third));

    // A window closed without sending is dropped at the next search, so its
    // handle, once reused, cannot pick up a foreign record.
    scope.CloseWindow(window);
    Fake().body = "$t($n)";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, second));
    EXPECT_EQ(engine.UndoEntryCount(), 1u);
    EXPECT_TRUE(engine.UndoTemplates(scope.host, second));
    EXPECT_EQ(Fake().body, "$t($n)");
    EXPECT_EQ(engine.UndoEntryCount(), 0u);
}

TEST_F(EngineTest, Utf8Windows) {
    Fake().codePage = 65001;
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
#endif
    std::string expected;
    if (platform::AnsiCodePage() == 932) {
        // A card written in UTF-8 is read as Shift_JIS; the window gets UTF-8.
        WriteFolder("Japan", {{"山田太郎", "taro@example.jp", "", "", "", ""}});
        scope.LoadAddressBook();
        Fake().compose["To"] = "taro@example.jp";
        Fake().body = "宛先: $t($n, )様\r\n本文";
        expected = "宛先: 山田太郎様\r\n本文";
    } else {
        // The host hands headers out in the ANSI code page.
        Fake().compose["To"] = "Zo\xEB <zoe@example.com>";
        Fake().body = "An: $t($n) \xC3\xA9t\xC3\xA9";
        expected = "An: Zo\xC3\xAB \xC3\xA9t\xC3\xA9";
    }
    const std::string original = Fake().body;
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, expected);
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, original);

    // A character the ANSI code page lacks would come back as "?": such a
    // text is left alone.
    const std::string emoji = "$t($n) \xF0\x9F\x98\x80";
    Fake().body = emoji;
    const int writes = Fake().setTextCalls;
    EXPECT_FALSE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, emoji);
    EXPECT_EQ(Fake().setTextCalls, writes);
}

TEST_F(EngineTest, GroupFolderOfTheCurrentMailFolder) {
    // The same address in two folders; the mail folder links to the second.
    WriteFolder("Work", {{"Ann at Work", "ann@example.com", "Acme", "", "", ""}});
    Write("mbox/Inbox/Folder.ini", "[Settings]\r\nAddrGrp=Main:Work\r\n");
    scope.LoadAddressBook();
    Fake().compose["To"] = "ann@example.com";
    Fake().body = "$t($n)";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Ann Smith");

#if defined(_WIN32)
    Fake().currentFolder = "mbox\\Inbox\\";
#else
    Fake().currentFolder = "mbox/Inbox/";
#endif
    Fake().body = "$t($n)";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Ann at Work");
}

}  // namespace
}  // namespace fakehost
