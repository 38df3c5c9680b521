// The report file held open by someone else: the plug-in's exclusive open
// fails, message 1 of the library's own string table is shown, and the file
// is left as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "reply/report.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

struct Box {
    std::string text;
    std::string caption;
};

std::vector<Box>& Boxes() {
    static std::vector<Box> boxes;
    return boxes;
}

// Records every message box of this thread and presses its OK button.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        GetClassNameA(box, className, sizeof className);
        if (std::string(className) == "#32770") {
            char text[1024] = {};
            char caption[256] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            GetWindowTextA(box, caption, sizeof caption);
            Boxes().push_back({text, caption});
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class ReplyReportLocked : public ::testing::Test {
protected:
    void SetUp() override {
        library_ = LoadLibraryExA(HALYARD_DLL_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(library_, nullptr);
        platform::SetModule(library_);
        hook_ = SetWindowsHookExA(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook_, nullptr);
        Boxes().clear();
    }
    void TearDown() override {
        if (hook_) UnhookWindowsHookEx(hook_);
        platform::SetModule(nullptr);
        if (library_) FreeLibrary(library_);
    }

    SSettings settings_{SSettings::DefaultsTag{}};
    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
};

}  // namespace

TEST_F(ReplyReportLocked, ALockedFileShowsMessageOneAndStaysAsItWas) {
    test::TempDir dir;
    const std::string path = dir.Join("NOENTRY.txt");
    test::WriteBytes(path, "\"Old\"\told@example.com\r\n");
    CopyBounded(settings_.reportFile, kPathSize, path);

    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    ReportMissingAddress(settings_.reportFile, "Zed <zed@example.net>");
    CloseHandle(other);

    ASSERT_EQ(Boxes().size(), 1u);
    char expected[256] = {};
    LoadStringA(library_, 1, expected, sizeof expected);
    EXPECT_STRNE(expected, "");
    EXPECT_EQ(Boxes()[0].text, expected);
    EXPECT_EQ(Boxes()[0].caption, "Halyard");
    EXPECT_EQ(test::ReadBytes(path), "\"Old\"\told@example.com\r\n");

    // Free again, the next miss is written.
    ReportMissingAddress(settings_.reportFile, "Zed <zed@example.net>");
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(test::ReadBytes(path), "\"Old\"\told@example.com\r\n\"Zed\"\tzed@example.net\r\n");
}
