// The headless host's script reader: commands, arguments, blocks, escapes,
// variables, and the errors that refuse a script before it runs.
#include <gtest/gtest.h>

#include "script.h"
#include "script_text.h"

namespace {

SScriptPaths Paths() {
    SScriptPaths paths;
    paths.data = "Z:\\s\\data";
    paths.plugins = "Z:\\s\\plugins";
    paths.appdata = "Z:\\s\\appdata";
    paths.commondata = "Z:\\s\\common";
    return paths;
}

std::string ParseError(const std::string& text) {
    SScript script;
    std::string error;
    EXPECT_FALSE(ParseScript(text, &script, &error)) << text;
    return error;
}

std::string Expanded(const std::string& text, bool escapes) {
    SScriptText out;
    std::string error;
    EXPECT_TRUE(ExpandScriptText(text, escapes, Paths(), &out, &error)) << error;
    return out.Utf8();
}

std::string BlockOf(const std::vector<std::string>& lines, bool dropFinal = false) {
    SScriptText out;
    std::string error;
    EXPECT_TRUE(ExpandBlock(lines, Paths(), &out, &error)) << error;
    if (dropFinal) out.DropFinalLineEnd();
    return out.Utf8();
}

TEST(BkhostScript, CommandsArgumentsAndBlocks) {
    SScript script;
    std::string error;
    ASSERT_TRUE(ParseScript("\xEF\xBB\xBFlang ja\r\n"
                            "# a comment\n"
                            "\n"
                            "settings Attachment AttachWords a, b ,c\n"
                            "settings Attachment Inspect\n"
                            "file AddrBook/x y.txt\n"
                            "# kept\n"
                            "\n"
                            ".\n"
                            "compose To:\n"
                            "host-without-setstatus\n"
                            "start\n"
                            "expect-body\n"
                            ".\n",
                            &script, &error))
        << error;
    EXPECT_TRUE(script.japanese);
    EXPECT_TRUE(script.withoutSetStatus);
    ASSERT_EQ(script.commands.size(), 8u);
    EXPECT_EQ(script.commands[0].line, 1);
    EXPECT_EQ(script.commands[1].args, (std::vector<std::string>{"Attachment", "AttachWords", "a, b ,c"}));
    // A missing last value of settings is an empty value.
    EXPECT_EQ(script.commands[2].args, (std::vector<std::string>{"Attachment", "Inspect", ""}));
    // The path is the rest of the line; block lines are kept as written.
    EXPECT_EQ(script.commands[3].args[0], "AddrBook/x y.txt");
    EXPECT_EQ(script.commands[3].line, 6);
    EXPECT_EQ(script.commands[3].block, (std::vector<std::string>{"# kept", ""}));
    EXPECT_EQ(script.commands[4].args[0], "To:");
    EXPECT_EQ(script.commands[6].name, "start");
    EXPECT_TRUE(script.commands[7].hasBlock);
    EXPECT_TRUE(script.commands[7].block.empty());
}

TEST(BkhostScript, ErrorsNameTheirLine) {
    EXPECT_EQ(ParseError("start\nfrob x\n"), "line 2: unknown command \"frob\"");
    EXPECT_EQ(ParseError("file a.txt\nno end\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("start\nlang ja\n").rfind("line 2:", 0), 0u);
    EXPECT_EQ(ParseError("lang fr\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("start\nhost-without-setstatus\n").rfind("line 2:", 0), 0u);
    // The version is read at load: not while the library is loaded, but
    // again after exit.
    EXPECT_EQ(ParseError("load\nhost-version 2.00.05\n").rfind("line 2:", 0), 0u);
    SScript script;
    std::string error;
    EXPECT_TRUE(ParseScript("start\nexit\nhost-version 2.00.05\nstart\n", &script, &error)) << error;
    EXPECT_EQ(ParseError("start\nstart now\n"), "line 2: start takes no argument");
    EXPECT_EQ(ParseError("start\nload\n").rfind("line 2:", 0), 0u);
    EXPECT_EQ(ParseError("load\nstart\nstart\n").rfind("line 3:", 0), 0u);
    EXPECT_EQ(ParseError("exit\n").rfind("line 1:", 0), 0u);
    EXPECT_TRUE(ParseScript("load\nmenu 0\nstart\nexit\nload\nexit\n", &script, &error)) << error;
    EXPECT_EQ(ParseError("print\n"), "line 1: print needs an argument");
    EXPECT_EQ(ParseError("mail From Ann\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("answer Maybe\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("key shift down\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("sleep soon\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("open-compose 5x\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("registry Other 1\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("registry AddrInputFmt one\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("serialize a -> b\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("expect-info size: 3\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("expect-menu ten: a\n").rfind("line 1:", 0), 0u);
    // Resources: a steady check needs its mark; five allowances; known leaks.
    EXPECT_EQ(ParseError("start\nexpect-resources-steady 8 8 2 0 2048\n"),
              "line 2: expect-resources-steady needs a resources-mark before it");
    EXPECT_EQ(ParseError("resources-mark\nexpect-resources-steady 8 8 2 0\n").rfind("line 2:", 0), 0u);
    EXPECT_EQ(ParseError("resources-mark\nexpect-resources-steady 8 8 2 -1 0\n").rfind("line 2:", 0), 0u);
    EXPECT_EQ(ParseError("resources-mark\nexpect-resources-steady 8 8 2 0 2048 1\n").rfind("line 2:", 0), 0u);
    EXPECT_TRUE(ParseScript("resources-mark\nexpect-resources-steady 8 8 2 0 2048\n", &script, &error))
        << error;
    EXPECT_EQ(ParseError("leak-for-test socket 1\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("leak-for-test thread 0\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("leak-for-test thread 101\n").rfind("line 1:", 0), 0u);
    EXPECT_TRUE(ParseScript("leak-for-test kib 4096\nmkdir a/b\nlock a.txt\nunlock a.txt\n", &script,
                            &error))
        << error;
    // Bad escapes are found where they are written, before anything runs.
    EXPECT_EQ(ParseError("compose Subject: a\\qb\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("registry Citation \\x4\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("file a.txt\nfine\nbad \\xZZ\n.\n").rfind("line 3:", 0), 0u);
    // Values without escapes keep their backslashes.
    EXPECT_TRUE(ParseScript("expect Path: C:\\temp\nmailbox a\\b.mb\\\n", &script, &error)) << error;
}

TEST(BkhostScript, ExitOnlyUnloadWindowsAndBoxBlocks) {
    SScript script;
    std::string error;
    EXPECT_TRUE(ParseScript("start\nexit-only\nmenu 10\nunload\nstart\n", &script, &error)) << error;
    EXPECT_EQ(ParseError("start\nexit-only\nstart\n"), "line 3: start: the library had exit-only (unload first)");
    EXPECT_EQ(ParseError("start\nexit-only\nexit\n").rfind("line 3:", 0), 0u);
    EXPECT_EQ(ParseError("start\nunload\n"), "line 2: unload comes after exit-only");
    EXPECT_EQ(ParseError("exit-only\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("window 5\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(ParseError("window 0\n").rfind("line 1:", 0), 0u);

    // An on-box block holds commands, blocks of their own included; it
    // ends at the first "." that stands where a command could.
    script = SScript();
    ASSERT_TRUE(ParseScript("start\non-box Save it?\nwindow 2\nbody text/plain\nhi\n.\n"
                            "open-compose 5\n.\nexit\n",
                            &script, &error))
        << error;
    ASSERT_EQ(script.commands.size(), 3u);
    const SScriptCommand& box = script.commands[1];
    EXPECT_EQ(box.args[0], "Save it?");
    ASSERT_EQ(box.nested.size(), 3u);
    EXPECT_EQ(box.nested[1].name, "body");
    EXPECT_EQ(box.nested[1].block, std::vector<std::string>{"hi"});
    EXPECT_EQ(box.nested[2].line, 7);
    EXPECT_EQ(script.commands[2].name, "exit");
    EXPECT_EQ(ParseError("start\non-box x\nstart\n.\n"), "line 3: start cannot stand in an on-box block");
    EXPECT_EQ(ParseError("on-box x\non-box y\n.\n.\n").rfind("line 2:", 0), 0u);
    EXPECT_EQ(ParseError("on-box x\nlang en\n.\n").rfind("line 2:", 0), 0u);
    EXPECT_EQ(ParseError("start\non-box x\nmenu 10\n"),
              "line 2: the block is not closed by a line holding only \".\"");
    // A quit inside the box counts: no second exit after it.
    EXPECT_EQ(ParseError("start\non-box x\nexit\n.\nexit\n").rfind("line 5:", 0), 0u);
    // Serialize answers take escapes.
    EXPECT_EQ(ParseError("serialize a => b\\q\n").rfind("line 1:", 0), 0u);
}

TEST(BkhostScript, NamedValuesAndRules) {
    std::string name, value;
    ASSERT_TRUE(SplitNamedValue("To: Ann <a@x>", &name, &value));
    EXPECT_EQ(name, "To");
    EXPECT_EQ(value, "Ann <a@x>");
    ASSERT_TRUE(SplitNamedValue("Cc:", &name, &value));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(SplitNamedValue("X:  two", &name, &value));
    EXPECT_EQ(value, " two");   // only one space goes
    EXPECT_FALSE(SplitNamedValue("nothing", &name, &value));
    ASSERT_TRUE(SplitSerializeRule("g => a, b => c", &name, &value));
    EXPECT_EQ(name, "g");
    EXPECT_EQ(value, "a, b => c");
    ASSERT_TRUE(SplitSerializeRule("x => ", &name, &value));
    EXPECT_EQ(value, "");
    long long n = 0;
    EXPECT_TRUE(ParseInteger("-12", &n));
    EXPECT_EQ(n, -12);
    EXPECT_FALSE(ParseInteger("", &n));
    EXPECT_FALSE(ParseInteger("-", &n));
    EXPECT_FALSE(ParseInteger("1 2", &n));
}

TEST(BkhostScript, EscapesAndVariables) {
    EXPECT_EQ(Expanded("a\\tb\\\\c\\rd\\ne\\x20f\\x41", true), "a\tb\\c\rd\ne f\x41");
    EXPECT_EQ(Expanded("%DATA%\\t", false), "Z:\\s\\data\\t");
    // A path put in by a variable is never read for escapes.
    EXPECT_EQ(Expanded("%DATA%\\\\x", true), "Z:\\s\\data\\x");
    EXPECT_EQ(Expanded("%PLUGINS%|%APPDATA%|%COMMONDATA%|%OTHER%|100%", false),
              "Z:\\s\\plugins|Z:\\s\\appdata|Z:\\s\\common|%OTHER%|100%");
    SScriptText out;
    std::string error;
    EXPECT_FALSE(ExpandScriptText("end\\", true, Paths(), &out, &error));
    EXPECT_FALSE(ExpandScriptText("\\x4", true, Paths(), &out, &error));

    // \xHH bytes stay raw, apart from the text around them.
    SScriptText raw;
    ASSERT_TRUE(ExpandScriptText("a\\x82\\xA0b", true, Paths(), &raw, &error));
    ASSERT_EQ(raw.Pieces().size(), 3u);
    EXPECT_FALSE(raw.Pieces()[0].raw);
    EXPECT_TRUE(raw.Pieces()[1].raw);
    EXPECT_EQ(raw.Pieces()[1].bytes, "\x82\xA0");
    EXPECT_EQ(raw.Pieces()[2].bytes, "b");
}

TEST(BkhostScript, BlockLinesAndContinuation) {
    EXPECT_EQ(BlockOf({"one", "two"}), "one\r\ntwo\r\n");
    // A single trailing backslash joins the next line; an escaped one does not.
    EXPECT_EQ(BlockOf({"jo\\", "ined", "kept\\\\", "odd\\\\\\", "end"}),
              "joined\r\nkept\\\r\nodd\\end\r\n");
    EXPECT_EQ(BlockOf({"trailing\\x20", ""}), "trailing \r\n\r\n");
    // The body rule drops only the last line's own CR LF.
    EXPECT_EQ(BlockOf({"a", "b"}, true), "a\r\nb");
    EXPECT_EQ(BlockOf({"a", ""}, true), "a\r\n");
    EXPECT_EQ(BlockOf({"a\\r\\n"}, true), "a\r\n");
    EXPECT_EQ(BlockOf({"a\\"}, true), "a");
    EXPECT_EQ(BlockOf({}, true), "");
    EXPECT_EQ(BlockOf({"%DATA%\\\\f"}), "Z:\\s\\data\\f\r\n");
}

}  // namespace
