// The host functions called in-process, as the plug-in calls them: buffers,
// the compose window's encodings, the converters and the tracked memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "call_frames.h"
#include "codepage.h"
#include "host_exports.h"
#include "host_memory.h"
#include "mime_codecs.h"
#include "recipient_list.h"
#include "support/test_support.h"
#include "transcript.h"

namespace {

const HWND kCompose = reinterpret_cast<HWND>(0x1230);

std::string Ansi(const char* utf8) {
    std::string out;
    EXPECT_TRUE(Utf8ToCodePage(utf8, AnsiCodePage(), &out)) << utf8;
    return out;
}

// A text from the host, released as the plug-in must.
std::string Take(char* text) {
    if (!text) return "NULL";
    std::string out = text;
    BKA_Free(text);
    return out;
}

class BkhostExports : public ::testing::Test {
protected:
    void SetUp() override {
        SComposeWindow& compose = TheHost().compose;
        compose = SComposeWindow();
        compose.window = kCompose;
        compose.codePage = AnsiCodePage();
        TheHost().serializeRules.clear();
        heapBefore_ = HostHeap().Outstanding();
    }
    void TearDown() override { EXPECT_EQ(HostHeap().Outstanding(), heapBefore_); }
    size_t heapBefore_ = 0;
};

TEST_F(BkhostExports, HeadersFitTheCallersBuffer) {
    TheHost().compose.headers.Set("To", "ann@example.com");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    BKA_CompGetSpecifiedHeader(kCompose, "to", buffer, 5);
    EXPECT_STREQ(buffer, "ann@");
    EXPECT_EQ(buffer[5], 'x');   // nothing past the given size
    BKA_CompGetSpecifiedHeader(kCompose, "Cc", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
    BKA_CompSetSpecifiedHeader(kCompose, "CC", "b@x");
    BKA_CompGetSpecifiedHeader(kCompose, "Cc", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "b@x");
    EXPECT_EQ(TheHost().compose.headers.Block(), "To: ann@example.com\r\nCC: b@x\r\n");

    TheHost().mail.Set("From", "Ann <ann@example.com>");
    char from[1024];
    BKA_GetSpecifiedHeader("FROM", from, sizeof from);
    EXPECT_STREQ(from, "Ann <ann@example.com>");
}

TEST_F(BkhostExports, MisuseIsSeen) {
    int failures = FailureCount();
    char buffer[16] = "untouched";
    BKA_CompGetSpecifiedHeader(reinterpret_cast<HWND>(0x999), "To", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(FailureCount(), failures + 1);

    char* text = BKA_UTF_8("abc", TRUE);
    ASSERT_NE(text, nullptr);
    BKA_Free(text);
    size_t left = HostHeap().Outstanding();
    BKA_Free(text);   // twice: refused, not freed again
    EXPECT_EQ(HostHeap().Outstanding(), left);
    char stack[4];
    BKA_Free(stack);
    EXPECT_EQ(BKA_ReAlloc(stack, 10), nullptr);
    EXPECT_EQ(FailureCount(), failures + 4);
    BKA_Free(nullptr);   // allowed, as free(NULL) is
    EXPECT_EQ(FailureCount(), failures + 4);
}

TEST_F(BkhostExports, MemoryIsTracked) {
    size_t before = HostHeap().Outstanding();
    void* block = BKA_Alloc(10);
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "123456789", 10);
    void* grown = BKA_ReAlloc(block, 100000);
    ASSERT_NE(grown, nullptr);
    EXPECT_STREQ(static_cast<char*>(grown), "123456789");
    EXPECT_EQ(HostHeap().Outstanding(), before + 1);
    BKA_Free(grown);
    EXPECT_EQ(HostHeap().Outstanding(), before);
}

TEST_F(BkhostExports, TextAndItsMimeType) {
    SComposeWindow& compose = TheHost().compose;
    compose.text = "line\r\n";
    compose.mimeType = "text/html";
    char mime[1024];
    EXPECT_EQ(Take(BKA_CompGetText(kCompose, mime, sizeof mime)), "line\r\n");
    EXPECT_STREQ(mime, "text/html");
    BKA_CompSetText(kCompose, 0, "new");
    EXPECT_EQ(compose.text, "new");
    compose.hasBody = false;
    std::strcpy(mime, "stale");
    EXPECT_EQ(BKA_CompGetText(kCompose, mime, sizeof mime), nullptr);
    EXPECT_STREQ(mime, "");

    compose.hasBody = true;
    compose.text = "body";
    EXPECT_EQ(Take(BKA_CompGetSource(kCompose)), "\r\nbody");
    BKA_CompSetSource(kCompose, "Subject: hi\r\nTo: a@x,\r\n b@y\r\n\r\nthe text\r\n");
    ASSERT_NE(compose.headers.Find("To"), nullptr);
    EXPECT_EQ(*compose.headers.Find("To"), "a@x,\r\n b@y");
    EXPECT_EQ(compose.text, "the text\r\n");
}

// A character the local code page holds, and one it does not, in UTF-8.
const char* LocalSample() { return AnsiCodePage() == 932 ? "\xE6\x97\xA5" : "caf\xC3\xA9"; }
const char* ForeignSample() { return AnsiCodePage() == 932 ? "\xC3\xA9" : "\xE6\x97\xA5"; }

TEST_F(BkhostExports, Utf8WindowHandsHeadersOutInTheLocalCodePage) {
    SComposeWindow& compose = TheHost().compose;
    compose.SetCodePage(kUtf8CodePage);
    std::string subject = std::string(LocalSample()) + ForeignSample();
    compose.headers.Set("Subject", subject);
    compose.text = subject;
    char buffer[64];
    char charset[256];
    EXPECT_EQ(BKA_CompGetCharSet(kCompose, charset, sizeof charset), 65001);
    EXPECT_STREQ(charset, "UTF-8");
    BKA_CompGetSpecifiedHeader(kCompose, "Subject", buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), Ansi(LocalSample()) + "?");
    // Text goes out and comes in as UTF-8; headers come in as UTF-8.
    char mime[64];
    EXPECT_EQ(Take(BKA_CompGetText(kCompose, mime, sizeof mime)), subject);
    BKA_CompSetSpecifiedHeader(kCompose, "To", "\xE6\x97\xA5 <a@x>");
    EXPECT_EQ(*compose.headers.Find("To"), "\xE6\x97\xA5 <a@x>");

    // Going back to the local code page converts what the window holds.
    compose.text = LocalSample();
    compose.SetCodePage(AnsiCodePage());
    EXPECT_EQ(compose.text, Ansi(LocalSample()));
    compose.SetCodePage(kUtf8CodePage);
    EXPECT_EQ(compose.text, LocalSample());
}

TEST_F(BkhostExports, Converters) {
    std::string local = Ansi(LocalSample());
    std::string utf8 = Take(BKA_UTF_8(local.c_str(), TRUE));
    EXPECT_EQ(utf8, LocalSample());
    // What the local code page cannot hold comes back as '?', not a look-alike.
    EXPECT_EQ(Take(BKA_UTF_8(ForeignSample(), FALSE)), "?");
    EXPECT_EQ(Take(BKA_UTF_8(utf8.c_str(), FALSE)), local);
    EXPECT_EQ(BKA_UTF_8(nullptr, TRUE), nullptr);

    // Japanese text reaches ISO-2022-JP from either code page.
    std::string japanese;
    if (Utf8ToCodePage("\xE6\x97\xA5", AnsiCodePage(), &japanese)) {
        EXPECT_EQ(Take(BKA_ISO_2022_JP(japanese.c_str(), TRUE)), "\x1B$BF|\x1B(B");
        EXPECT_EQ(Take(BKA_ISO_2022_JP("\x1B$BF|\x1B(B", FALSE)), japanese);
    } else {
        EXPECT_EQ(Take(BKA_ISO_2022_JP("x", TRUE)), "x");
    }
    EXPECT_EQ(Take(BKA_EUC_JP(Take(BKA_EUC_JP(local.c_str(), TRUE)).c_str(), FALSE)),
              AnsiCodePage() == 932 ? local : "caf?");

    char charset[64];
    std::string header = Take(BKA_MIMEHeader(local.c_str(), charset, sizeof charset, TRUE));
    EXPECT_EQ(header.rfind("=?", 0), 0u);
    std::string encodedCharset = charset;
    EXPECT_EQ(Take(BKA_MIMEHeader(("Re: " + header + " " + header).c_str(), charset, sizeof charset, FALSE)),
              "Re: " + local + local);
    EXPECT_EQ(std::string(charset), encodedCharset);
    EXPECT_EQ(Take(BKA_MIMEHeader("=?UTF-8?Q?caf=C3=A9_x?=", charset, sizeof charset, FALSE)),
              Utf8ToCodePageLossy("caf\xC3\xA9 x", AnsiCodePage()));
}

TEST_F(BkhostExports, SerializeRules) {
    TheHost().serializeRules.push_back({"grp", std::string("a@x, b@y")});
    TheHost().serializeRules.push_back({"none", std::nullopt});
    TheHost().serializeRules.push_back({"grp", std::string("c@z")});
    EXPECT_EQ(Take(BKA_SerializeRcpts("grp")), "c@z");   // the latest rule wins
    EXPECT_EQ(BKA_SerializeRcpts("none"), nullptr);
    // Without a rule: the addresses one a line, as the real host answers.
    EXPECT_EQ(Take(BKA_SerializeRcpts(" grp ")), "grp");
    EXPECT_EQ(Take(BKA_SerializeRcpts("a@x, Bob <b@y>")), "a@x,\r\n Bob <b@y>");
}

TEST(BkhostRecipients, SplitAsTheStandardReadsThem) {
    using List = std::vector<std::string>;
    EXPECT_EQ(SplitRecipients("a@x,b@y , ,\r\n c@z,"), (List{"a@x", "b@y", "c@z"}));
    // Commas in quoted strings, comments (nested, with escapes) and angle
    // brackets are text.
    EXPECT_EQ(SplitRecipients("\"Smith, Ann\" <a@x>, b@y"), (List{"\"Smith, Ann\" <a@x>", "b@y"}));
    EXPECT_EQ(SplitRecipients("a@x (one, (two, three) \\) four), b@y"),
              (List{"a@x (one, (two, three) \\) four)", "b@y"}));
    EXPECT_EQ(SplitRecipients("<@r1,@r2:a@x>, b@y"), (List{"<@r1,@r2:a@x>", "b@y"}));
    EXPECT_EQ(SplitRecipients("\"a \\\" b, c\" <a@x>, d@y"), (List{"\"a \\\" b, c\" <a@x>", "d@y"}));
    // A quote inside a comment and a parenthesis inside a quoted string
    // open nothing.
    EXPECT_EQ(SplitRecipients("a@x (it\"s), b@y"), (List{"a@x (it\"s)", "b@y"}));
    EXPECT_EQ(SplitRecipients("\"(x\" <a@x>, b@y"), (List{"\"(x\" <a@x>", "b@y"}));
    // A group is one piece up to its semicolon.
    EXPECT_EQ(SplitRecipients("Team: a@x, b@y;, c@z"), (List{"Team: a@x, b@y;", "c@z"}));
    EXPECT_EQ(SplitRecipients("Undisclosed recipients:;"), (List{"Undisclosed recipients:;"}));
    EXPECT_EQ(SerializedRecipients("a@x, b@y"), "a@x,\r\n b@y");
    EXPECT_EQ(SerializedRecipients(" , "), "");
}

// Whether the plug-in could read the memory at text.
bool Readable(const void* text) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(text, &region, sizeof region) != sizeof region) return false;
    return region.State == MEM_COMMIT && !(region.Protect & (PAGE_NOACCESS | PAGE_GUARD));
}

TEST_F(BkhostExports, AnswersLastUntilTheNextHostCallReturns) {
    TheHost().folder = "1234abcd.mb\\!Inbox\\";
    int failures = FailureCount();
    const char* data = BKA_GetDataFolder();
    ASSERT_TRUE(Readable(data));
    const char* folder = BKA_GetCurrentFolder();
    EXPECT_FALSE(Readable(data));
    ASSERT_TRUE(Readable(folder));
    // The host reads its arguments before the answer expires.
    const char* name = BKA_GetFolderDisplayName(folder);
    EXPECT_STREQ(name, "Inbox");
    EXPECT_FALSE(Readable(folder));
    EXPECT_EQ(FailureCount(), failures);
    BKA_Free(const_cast<char*>(name));   // the host's, not the plug-in's
    EXPECT_EQ(FailureCount(), failures + 1);
}

TEST_F(BkhostExports, EachCallReclaimsWhatItWasHanded) {
    RememberHostThread();
    size_t notFreed = HostHeap().NotFreed();
    int failures = FailureCount();
    char* inner = nullptr;
    char* outer = nullptr;
    const char* answer = nullptr;
    {
        SPluginCall call("BKC_OnOpenCompose");
        outer = BKA_UTF_8("outer", TRUE);
        {
            // A call that arrives while the first is in a box.
            SPluginCall nested("BKC_OnOpenCompose");
            inner = BKA_UTF_8("inner", TRUE);
            answer = BKA_GetTempFolder();
        }
        EXPECT_FALSE(Readable(inner));
        EXPECT_FALSE(Readable(answer));
        ASSERT_TRUE(Readable(outer));
        EXPECT_STREQ(outer, "outer");
        BKA_Free(inner);   // reclaimed already
        EXPECT_EQ(FailureCount(), failures + 1);
        EXPECT_EQ(HostHeap().NotFreed(), notFreed + 1);
    }
    EXPECT_FALSE(Readable(outer));
    EXPECT_EQ(HostHeap().NotFreed(), notFreed + 2);
    {
        // Nothing may be asked of the host while it reads the record.
        SPluginCall info("BKC_OnPlugInInfo");
        BKA_GetVersion();
    }
    EXPECT_EQ(FailureCount(), failures + 2);
}

TEST_F(BkhostExports, FileConverters) {
    test::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(i * 7));
    bytes += "trailing space \r\nend";
    std::string in = dir.Join("in.bin"), mid = dir.Join("mid.txt"), out = dir.Join("out.bin");
    test::WriteBytes(in, bytes);
    ASSERT_TRUE(BKA_B64Convert(mid.c_str(), in.c_str(), TRUE));
    std::string encoded = test::ReadBytes(mid);
    EXPECT_EQ(encoded.substr(76, 2), "\r\n");
    ASSERT_TRUE(BKA_B64Convert(out.c_str(), mid.c_str(), FALSE));
    EXPECT_EQ(test::ReadBytes(out), bytes);

    ASSERT_TRUE(BKA_QPConvert(mid.c_str(), in.c_str(), TRUE));
    encoded = test::ReadBytes(mid);
    size_t start = 0;
    while (start < encoded.size()) {
        size_t end = encoded.find("\r\n", start);
        if (end == std::string::npos) end = encoded.size();
        EXPECT_LE(end - start, 76u);
        start = end + 2;
    }
    EXPECT_NE(encoded.find("space=20\r\n"), std::string::npos);
    ASSERT_TRUE(BKA_QPConvert(out.c_str(), mid.c_str(), FALSE));
    EXPECT_EQ(test::ReadBytes(out), bytes);
    EXPECT_FALSE(BKA_B64Convert(out.c_str(), dir.Join("missing").c_str(), TRUE));
}

TEST(BkhostCodePage, ScriptTextReachesThePlugInInItsCodePage) {
    SScriptText text;
    text.AddText("caf\xC3\xA9 ");
    text.AddRaw('\x82');
    std::string out;
    ASSERT_TRUE(RenderScriptText(text, 1252, &out));
    EXPECT_EQ(out, "caf\xE9 \x82");
    ASSERT_TRUE(RenderScriptText(text, 65001, &out));
    EXPECT_EQ(out, "caf\xC3\xA9 \x82");
    SScriptText japanese;
    japanese.AddText("\xE6\x97\xA5");
    EXPECT_FALSE(RenderScriptText(japanese, 1252, &out));
    ASSERT_TRUE(RenderScriptText(japanese, 932, &out));
    EXPECT_EQ(out, "\x93\xFA");
    EXPECT_EQ(CodePageToUtf8("\x93\xFA", 932), "\xE6\x97\xA5");
    SScriptText broken;
    broken.AddText("\xC3");
    EXPECT_FALSE(RenderScriptText(broken, 65001, &out));
}

}  // namespace
