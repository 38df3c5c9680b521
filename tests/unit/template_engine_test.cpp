// Expansion and undo on a compose window: the text the host holds, the
// undo table, and the faults an endless or misplaced expansion would cause.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "common/sizes.h"
#include "resources/string_ids.h"
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

TEST_F(EngineTest, ACommandOverAHeaderThatFillsItsReadBufferStaysInTheText) {
    // A value that fills the buffer may have been cut by the host.
    std::string to;
    while (to.size() < kListSize) to += "ann@example.com, ";
    to.resize(kListSize - 1);
    Fake().compose["To"] = to;
    Fake().body = "To: $t($n, )\r\nCc: $c($n)";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "To: $t($n, )\r\nCc: Cid Moss");

    Fake().body = "To: $t($n, )";
    Fake().setTextCalls = 0;
    EXPECT_FALSE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().setTextCalls, 0);

    // One byte short of filling it, the value is whole.
    to.resize(kListSize - 2);
    Fake().compose["To"] = to;
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body.substr(0, 24), "To: Ann Smith, Ann Smith");
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

    // Two that wrote nothing at one place come back in their own order.
    Fake().compose["Cc"] = "";
    for (const std::string text : {"A $c($n)$t($n) B", "A $t($n)$c($n) B"}) {
        Fake().body = text;
        ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
        EXPECT_EQ(Fake().body, "A  B");
        EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
        EXPECT_EQ(Fake().body, text);
    }
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

TEST_F(EngineTest, UndoFindsTheListingWhereTypingMovedIt) {
    const std::string greeting = "Dear all,\r\nthank you for the long letter.\r\nPlease see below.\r\n";
    Fake().body = greeting + "$t($n, )\r\nregards\r\n$c($n)\r\n";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    ASSERT_EQ(Fake().body, greeting + "Ann Smith, Bob Jones\r\nregards\r\nCid Moss\r\n");

    // Lines typed above both listings and between them, and copies of the
    // To listing quoted at the top and the bottom, both farther from where
    // it was written than the listing itself.
    const std::string quote = "> Ann Smith, Bob Jones\r\n";
    Fake().body = quote + greeting + "Ann Smith, Bob Jones\r\nregards,\r\nJo\r\nCid Moss\r\n" + quote;
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, quote + greeting + "$t($n, )\r\nregards,\r\nJo\r\n$c($n)\r\n" + quote);
    EXPECT_EQ(engine.UndoEntryCount(), 0u);

    // Text deleted above a listing moves it back.
    Fake().body = "Hello there,\r\n$t($n, ) end";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    Fake().body = "Hi,\r\nAnn Smith, Bob Jones end";
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "Hi,\r\n$t($n, ) end");

    // No body: nothing happens, the entry stays for a later try.
    Fake().body = "$t($n, ) end";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    Fake().noBody = true;
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));
    Fake().noBody = false;
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "$t($n, ) end");
}

#if !defined(_WIN32)
// Natively only: under Wine the message box would wait for a user.
TEST_F(EngineTest, AnEditedListingIsNotUndoneAndTheUserIsTold) {
    platform::testing::SetResString(kStrErrorCaption, "Halyard Error Message");
    platform::testing::SetResString(kStrTemplateErrorCaption, "Halyard Error");
    platform::testing::SetResString(kStrTemplateEdited, "cannot be undone");
    Fake().body = "$t($n, )\r\n$c($n)\r\n";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));

    // Edited inside the To listing: the Cc one is intact, yet neither is
    // restored, and the text is not written.
    const std::string edited = "Ann Smith, Bobby Jones\r\nCid Moss\r\n";
    Fake().body = edited;
    const int writes = Fake().setTextCalls;
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, edited);
    EXPECT_EQ(Fake().setTextCalls, writes);
    std::vector<platform::testing::ShownBox> boxes = platform::testing::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, window);
    EXPECT_EQ(boxes[0].text, "cannot be undone");
    EXPECT_EQ(boxes[0].caption, "Halyard Error");
    EXPECT_EQ(boxes[0].flags, platform::kMbIconWarning);
    // The refusal keeps the entry: a second try is told the same, and
    // once the listing is as it was written, undo restores both commands.
    EXPECT_EQ(engine.UndoEntryCount(), 1u);
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(platform::testing::TakeShownBoxes().size(), 1u);
    Fake().body = "Ann Smith, Bob Jones\r\nCid Moss\r\n";
    EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "$t($n, )\r\n$c($n)\r\n");
    EXPECT_EQ(engine.UndoEntryCount(), 0u);
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());

    // A text cut short of the listing is told the same.
    Fake().body = "$t($n, ) end";
    ASSERT_TRUE(engine.ExpandTemplates(scope.work, window));
    Fake().body = "Ann";
    EXPECT_FALSE(engine.UndoTemplates(scope.host, window));
    EXPECT_EQ(Fake().body, "Ann");
    EXPECT_EQ(platform::testing::TakeShownBoxes().size(), 1u);
}
#endif

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

// The code pages a test can run in: both natively, the run's own under Wine.
std::vector<unsigned> CodePagesOfTheRun() {
#if defined(_WIN32)
    return {platform::AnsiCodePage()};
#else
    return {1252, 932};
#endif
}

void UseCodePage(unsigned codePage) {
#if defined(_WIN32)
    EXPECT_EQ(platform::AnsiCodePage(), codePage);
#else
    platform::testing::SetAnsiCodePage(codePage);
#endif
}

TEST_F(EngineTest, Utf8WindowsKeepEveryOtherByte) {
    Fake().codePage = 65001;
    // An emoji, "①" and Japanese: the first two have no form in either code
    // page, Japanese none in 1252.
    const std::string original =
        "\xF0\x9F\x98\x80 Dear $tTo \xE2\x91\xA0: ($n, ) \xE2\x9C\x93\r\n"
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99\r\n"
        "$c($n \xF0\x9F\x99\x82 )\r\nend \xF0\x9F\x98\x80";
    for (const unsigned codePage : CodePagesOfTheRun()) {
        SCOPED_TRACE(codePage);
        UseCodePage(codePage);
        // An unlisted recipient whose name the host hands out in the ANSI
        // code page: "Zoë" or "山田".
        const std::string name = codePage == 932 ? "\xE5\xB1\xB1\xE7\x94\xB0" : "Zo\xC3\xAB";
        Fake().compose["Cc"] = "Cid <cid@example.com>, " + platform::Utf8ToAnsi(name) + " <x@example.com>";
        const std::string expanded =
            "\xF0\x9F\x98\x80 Dear To \xE2\x91\xA0: Ann Smith, Bob Jones \xE2\x9C\x93\r\n"
            "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99\r\n"
            "Cid Moss \xF0\x9F\x99\x82 " + name + "\r\nend \xF0\x9F\x98\x80";

        Fake().body = original;
        EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
        EXPECT_EQ(Fake().body, expanded);
        EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
        EXPECT_EQ(Fake().body, original);

        // A line typed above, then undone: the commands come back at their
        // new places, byte for byte.
        EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
        Fake().body = "\xE2\x91\xA0\xF0\x9F\x98\x80\r\n" + Fake().body;
        EXPECT_TRUE(engine.UndoTemplates(scope.host, window));
        EXPECT_EQ(Fake().body, "\xE2\x91\xA0\xF0\x9F\x98\x80\r\n" + original);
    }

    // A host that cannot convert a value: nothing is written, since local
    // bytes in a UTF-8 text would reach the recipient as garbage.
    Fake().body = original;
    Fake().utf8Fails = true;
    const int writes = Fake().setTextCalls;
    EXPECT_FALSE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, original);
    EXPECT_EQ(Fake().setTextCalls, writes);

    // One that fails only for a later command: the listing written before
    // stays, and the text counts as changed (the plug-in header is added).
    Fake().utf8Fails = false;
    Fake().utf8FailsOn = "Cid";
    Fake().body = "$t($n, )\r\n$c($n)";
    EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
    EXPECT_EQ(Fake().body, "Ann Smith, Bob Jones\r\n$c($n)");
}

TEST_F(EngineTest, Utf8WindowsWrapWhereAnsiWindowsDo) {
    for (const unsigned codePage : CodePagesOfTheRun()) {
        SCOPED_TRACE(codePage);
        UseCodePage(codePage);
        std::string command;
        std::string expected;
        if (codePage == 932) {
            // Names of eight columns, "、" of two; "はい。" and "宛先：" take
            // six columns each, so the first name goes on the next line.
            WriteFolder("Japan", {{"山田太郎", "taro@example.jp", "", "", "", ""},
                                  {"鈴木花子", "hanako@example.jp", "", "", "", ""},
                                  {"佐藤次郎", "jiro@example.jp", "", "", "", ""}});
            scope.LoadAddressBook();
            Fake().compose["To"] = "taro@example.jp, hanako@example.jp, jiro@example.jp";
            command = "はい。$t20宛先：($n、)様\r\n$t16($n、)";
            expected = "はい。宛先：\r\n山田太郎、鈴木花子、\r\n佐藤次郎様\r\n"
                       "山田太郎、\r\n鈴木花子、\r\n佐藤次郎";
        } else {
            // "日本" and an emoji take two columns each, as a missing form does.
            command = "\xE6\x97\xA5\xE6\x9C\xAC $t16($n, )\r\n\xF0\x9F\x98\x80 $t14($n, )";
            expected = "\xE6\x97\xA5\xE6\x9C\xAC Ann Smith, \r\nBob Jones\r\n"
                       "\xF0\x9F\x98\x80 Ann Smith, \r\nBob Jones";
        }
        Fake().codePage = 65001;
        Fake().body = command;
        EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
        EXPECT_EQ(Fake().body, expected);

        // The same in a window of the ANSI code page, where it can be held.
        if (codePage == 932) {
            Fake().codePage = 932;
            Fake().body = platform::Utf8ToAnsi(command);
            EXPECT_TRUE(engine.ExpandTemplates(scope.work, window));
            EXPECT_EQ(platform::AnsiToUtf8(Fake().body), expected);
        }
    }
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
