// What the scenarios of the settings dialog cannot see: the small icon it
// owns while open, and the call without a settings object. Everything a
// user sees and does in the dialog is tested by tests/scenarios/
// settings_dialog_*.bk through the headless host.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "plugin/plugin_state.h"
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
    std::unique_ptr<SSettings> settings(new SSettings(Plugin().instance, path.c_str()));
    HWND dialog = CreateDialogParamA(static_cast<HINSTANCE>(Plugin().instance),
                                     MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(settings->dialogIcon, nullptr);
    DestroyWindow(dialog);
    EXPECT_EQ(settings->dialogIcon, nullptr);
}

TEST_F(SettingsDialog, NoDialogWithoutSettingsObject) {
    ASSERT_EQ(SSettings::Current(), nullptr);
    EXPECT_EQ(RunSettingsDialog(nullptr), 0);
}

}  // namespace
