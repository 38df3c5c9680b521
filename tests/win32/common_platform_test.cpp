#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/platform.h"
#include "win32/common_win32_support.h"

namespace {

bool JapaneseRun() {
    const char* lc = std::getenv("LC_ALL");
    return lc && std::strncmp(lc, "ja", 2) == 0;
}

TEST(Win32Platform, CodePageFollowsTheLocale) {
    if (JapaneseRun()) {
        ASSERT_EQ(platform::AnsiCodePage(), 932u);
        EXPECT_TRUE(platform::IsLeadByte(0x82));
        EXPECT_TRUE(platform::IsLeadByte(0xE0));
        EXPECT_FALSE(platform::IsLeadByte(0xA0));
        EXPECT_FALSE(platform::IsLeadByte('A'));
        // "あ" both ways.
        EXPECT_EQ(platform::Utf8ToAnsi("\xE3\x81\x82"), "\x82\xA0");
        EXPECT_EQ(platform::AnsiToUtf8("\x82\xA0"), "\xE3\x81\x82");
    } else {
        ASSERT_EQ(platform::AnsiCodePage(), 1252u);
        EXPECT_FALSE(platform::IsLeadByte(0x82));
        EXPECT_EQ(platform::Utf8ToAnsi("M\xC3\xBCller"), "M\xFCller");
        EXPECT_EQ(platform::AnsiToUtf8("M\xFCller"), "M\xC3\xBCller");
        // Not in code page 1252: a question mark.
        EXPECT_EQ(platform::Utf8ToAnsi("\xE3\x81\x82"), "?");
    }
    EXPECT_EQ(platform::Utf8ToAnsi(""), "");
}

TEST(Win32Platform, HostRegistryValues) {
    test::HostKey key;
    ASSERT_TRUE(key.Valid());
    EXPECT_TRUE(platform::HostKeyExists());
    EXPECT_FALSE(platform::ReadHostValue("AddrInputFmt").has_value());

    key.SetDword("AddrInputFmt", 0x01020304);
    auto dword = platform::ReadHostValue("AddrInputFmt");
    ASSERT_TRUE(dword.has_value());
    EXPECT_EQ(dword->type, static_cast<uint32_t>(REG_DWORD));
    EXPECT_EQ(dword->data, (std::vector<uint8_t>{4, 3, 2, 1}));

    key.SetString("Citation", "| ");
    auto citation = platform::ReadHostValue("citation");   // names without case
    ASSERT_TRUE(citation.has_value());
    EXPECT_EQ(citation->type, static_cast<uint32_t>(REG_SZ));
    EXPECT_EQ(std::string(citation->data.begin(), citation->data.end()), std::string("| \0", 3));
}

TEST(Win32Platform, FoldersAndModule) {
    std::string appData = platform::AppDataFolder();
    ASSERT_FALSE(appData.empty());
    EXPECT_TRUE(platform::IsDirectory(appData.c_str()));
    std::string common = platform::CommonAppDataFolder();
    ASSERT_FALSE(common.empty());
    EXPECT_TRUE(platform::IsDirectory(common.c_str()));

    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    void* saved = platform::Module();
    platform::SetModule(nullptr);
    EXPECT_EQ(platform::ModuleFilePath(), std::string(exe));
    platform::SetModule(saved);
}

TEST(Win32Platform, ModuleReferencesAndTheProgramsExports) {
    // The library's own reference holds whatever module has the code: here
    // the test program, which stays loaded either way.
    platform::ModuleReference self = platform::ReferenceModule();
    EXPECT_EQ(self.get(), GetModuleHandleA(nullptr));
    self.reset();
    EXPECT_EQ(platform::ProgramModule(), GetModuleHandleA(nullptr));

    // Only the plug-in's own folder is asked, and a missing name gives none.
    void* saved = platform::Module();
    platform::SetModule(nullptr);
    EXPECT_FALSE(platform::LoadLibraryBesideModule("halyard_absent.dll"));
    EXPECT_FALSE(platform::LoadLibraryBesideModule(""));
    platform::SetModule(saved);

    // A test program exports none of the host's functions.
    EXPECT_EQ(platform::ProgramExport("BKA_GetVersion"), nullptr);
    EXPECT_EQ(platform::ProgramExport(nullptr), nullptr);
}

TEST(Win32Platform, StringTableOfThePlugin) {
    test::PluginResources resources;
    ASSERT_TRUE(resources.Loaded());
    EXPECT_EQ(platform::LoadResString(19), "Halyard");
    std::string words = platform::LoadResString(21);
    if (JapaneseRun()) {
        EXPECT_EQ(words, platform::Utf8ToAnsi("添付,送付,送ります,おくります,査収"));
    } else {
        EXPECT_EQ(words, "attached,attach,send");
    }
    // Cut to maxBytes - 1 bytes.
    EXPECT_EQ(platform::LoadResString(19, 4).size(), 3u);
    EXPECT_EQ(platform::LoadResString(9999), "");
}

// Answers the next message box of this thread with IDCANCEL and keeps its caption.
HHOOK g_hook = nullptr;
std::string g_boxText;

LRESULT CALLBACK CancelBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        GetClassNameA(box, className, sizeof className);
        if (std::strcmp(className, "#32770") != 0) return CallNextHookEx(g_hook, code, wParam, lParam);
        char text[256] = {};
        GetWindowTextA(box, text, sizeof text);
        g_boxText = text;
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST(Win32Platform, MessageBoxKeysAndWindows) {
    g_hook = SetWindowsHookExA(WH_CBT, CancelBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    int answer = platform::ShowMessageBox(nullptr, "Sure?", "Confirm",
                                          platform::kMbOkCancel | platform::kMbIconQuestion);
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(answer, platform::kIdCancel);
    EXPECT_EQ(g_boxText, "Confirm");

    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_CONTROL] = 0x80;
    keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(platform::ControlKeyDown());
    keys[VK_CONTROL] = 0;
    keys[VK_LCONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_FALSE(platform::ControlKeyDown());

    HWND window = CreateWindowA("STATIC", "probe", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(platform::WindowExists(window));
    DestroyWindow(window);
    EXPECT_FALSE(platform::WindowExists(window));
    EXPECT_FALSE(platform::WindowExists(nullptr));
}

}  // namespace
