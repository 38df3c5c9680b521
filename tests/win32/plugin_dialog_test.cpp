// What the scenarios of the settings dialog cannot see: the small icon it
// owns while open. Everything a user sees and does in the dialog is tested
// by tests/scenarios/settings_dialog_*.bk through the headless host.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/platform.h"
#include "resources/dialog_ids.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"
#include "support/test_support.h"
#include "win32/common_win32_support.h"

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources.Loaded());
        path = dir.Join("Halyard.ini");
        test::WriteBytes(path, "[Settings]\r\nUseAddrBook=1\r\n");
    }

    test::PluginResources resources;
    test::TempDir dir;
    std::string path;
};

TEST_F(SettingsDialog, OwnsItsSmallIconWhileOpen) {
    SSettings settings(path.c_str());
    SettingsDialogContext context{settings, "4.1.3.0", {}, {}};
    HWND dialog = CreateDialogParamA(static_cast<HINSTANCE>(platform::Module()),
                                     MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc,
                                     reinterpret_cast<LPARAM>(&context));
    ASSERT_NE(dialog, nullptr) << GetLastError();
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_TRUE(context.icon);
    DestroyWindow(dialog);
    EXPECT_FALSE(context.icon);   // released with the dialog
}

}  // namespace
