// Which help page the help command and the dialog's Help button open: the
// page beside the library when it was installed, else the web address.
// Native only: the stand-in platform supplies the library's path and the
// string table.
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <string>
#include <vector>

#include "common/help_page.h"
#include "common/platform_testing.h"
#include "resources/string_ids.h"
#include "support/test_support.h"

namespace {

constexpr char kWeb[] = "https://tarnwick.example/halyard/help/";

class HelpPage : public ::testing::Test {
protected:
    void SetUp() override {
        platform::testing::Reset();
        platform::testing::SetResString(kStrHelpPage, kWeb);
        platform::testing::SetResString(kStrLocalHelpPage, "HalyardHelp\\en.html");
    }
    void TearDown() override { platform::testing::Reset(); }

    test::TempDir dir_;
};

TEST_F(HelpPage, TheLocalPageWhenItIsBesideTheLibrary) {
    platform::testing::SetModuleFilePath(dir_.Join("Halyard.dll"));
    test::WriteBytes(dir_.Join("HalyardHelp/en.html"), "<html></html>");
    EXPECT_EQ(HelpPageAddress(), dir_.Path() + "\\HalyardHelp\\en.html");
}

TEST_F(HelpPage, TheWebAddressWithoutTheLocalPage) {
    platform::testing::SetModuleFilePath(dir_.Join("Halyard.dll"));
    EXPECT_EQ(HelpPageAddress(), kWeb);

    // A folder of that name is no page either.
    test::WriteBytes(dir_.Join("HalyardHelp/en.html/x"), "");
    EXPECT_EQ(HelpPageAddress(), kWeb);

    // Nor is the page of another library's folder.
    test::WriteBytes(dir_.Join("HalyardHelp/ja.html"), "");
    EXPECT_EQ(HelpPageAddress(), kWeb);
}

TEST_F(HelpPage, TheWebAddressWhenTheLibraryPathIsUnknownOrTheStringMissing) {
    test::WriteBytes(dir_.Join("HalyardHelp/en.html"), "<html></html>");
    EXPECT_EQ(HelpPageAddress(), kWeb);   // no module path

    platform::testing::SetModuleFilePath(dir_.Join("Halyard.dll"));
    platform::testing::SetResString(kStrLocalHelpPage, "");
    EXPECT_EQ(HelpPageAddress(), kWeb);
}

TEST_F(HelpPage, TheLibraryFolderIsFoundPastADoubleByteNameEndingInABackslashByte) {
    // "表" is 0x95 0x5C in Shift_JIS: its second byte is no separator.
    platform::testing::SetAnsiCodePage(932);
    platform::testing::SetResString(kStrLocalHelpPage, "HalyardHelp\\ja.html");
    test::WriteBytes(dir_.Join("HalyardHelp/ja.html"), "<html></html>");
    platform::testing::SetModuleFilePath(dir_.Path() + "\\\x95\x5C.dll");
    EXPECT_EQ(HelpPageAddress(), dir_.Path() + "\\HalyardHelp\\ja.html");
}

// The help command and the Help button hand the page to the shell and say
// so when nothing opened it.
TEST_F(HelpPage, OpeningHandsThePageToTheShellAndReportsAFailure) {
    platform::testing::SetResString(kStrErrorCaption, "Halyard");
    platform::testing::SetResString(kStrCannotOpenHelp, "The help page cannot be opened.");
    platform::testing::SetModuleFilePath(dir_.Join("Halyard.dll"));
    test::WriteBytes(dir_.Join("HalyardHelp/en.html"), "<html></html>");
    int owner = 0;

    OpenHelpPage(&owner);
    EXPECT_EQ(platform::testing::TakeShellTargets(),
              std::vector<std::string>{dir_.Path() + "\\HalyardHelp\\en.html"});
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());

    platform::testing::SetShellOpens(false);
    OpenHelpPage(&owner);
    EXPECT_EQ(platform::testing::TakeShellTargets().size(), 1u);
    const std::vector<platform::testing::ShownBox> boxes = platform::testing::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, &owner);
    EXPECT_EQ(boxes[0].text, "The help page cannot be opened.");
    EXPECT_EQ(boxes[0].caption, "Halyard");
    EXPECT_EQ(boxes[0].flags, platform::kMbIconWarning);
}

}  // namespace

#endif  // !_WIN32
