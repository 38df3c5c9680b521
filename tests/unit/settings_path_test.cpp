// Where the settings file is found, and the once-only copy into the
// per-user folder.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "common/platform.h"
#include "common/sizes.h"
#include "settings/settings_path.h"
#include "support/test_support.h"

namespace {

// The code under test writes Windows separators; the native stand-in maps
// them, and so must the test's own file access.
std::string OnDisk(std::string path) {
#if !defined(_WIN32)
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

std::string Read(const std::string& path) { return test::ReadBytes(OnDisk(path)); }
void Write(const std::string& path, std::string_view bytes) { test::WriteBytes(OnDisk(path), bytes); }

std::string Beside(const std::string& modulePath) {
    char out[kPathSize];
    if (!SettingsFileBeside(modulePath.c_str(), out, sizeof out)) return "<none>";
    return out;
}

std::string Locate(const std::string& modulePath, const std::string& appData) {
    char out[kPathSize];
    if (!LocateSettingsFileIn(modulePath.c_str(), appData.c_str(), out, sizeof out)) return "<none>";
    return out;
}

}  // namespace

TEST(SettingsFile, BesideTheLibrary) {
    EXPECT_EQ(Beside("C:\\Becky\\PlugIns\\Halyard.dll"), "C:\\Becky\\PlugIns\\Halyard.ini");
    EXPECT_EQ(Beside("C:\\Becky\\PlugIns\\Halyard.v2.dll"), "C:\\Becky\\PlugIns\\Halyard.v2.ini");
    EXPECT_EQ(Beside("C:\\Becky\\PlugIns\\Halyard"), "C:\\Becky\\PlugIns\\Halyard.ini");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(Beside("C:\\Becky.2\\Halyard"), "C:\\Becky.2\\Halyard.ini");
    // Just fits, and one byte too many.
    std::string folder = "C:\\" + std::string(kPathSize - 11, 'x') + "\\";
    EXPECT_EQ(Beside(folder + "Hx.dll"), folder + "Hx.ini");
    EXPECT_EQ(Beside(folder + "Hx").size(), kPathSize - 1);
    EXPECT_EQ(Beside(folder + "Hxy"), "<none>");
}

TEST(SettingsFile, CopiedOnceIntoThePerUserFolderAndNeverOverwritten) {
    test::TempDir dir;
    std::string plugins = dir.Join("PlugIns");
    std::string appData = dir.Join("AppData");
    platform::CreateDirectories(appData.c_str());
    std::string module = plugins + "\\Halyard.dll";
    std::string beside = plugins + "\\Halyard.ini";
    std::string perUser = appData + "\\Tarnwick\\Halyard\\Halyard.ini";
    Write(beside, "[Settings]\r\nReplyFormat=1\r\n");

    EXPECT_EQ(Locate(module, appData), perUser);
    EXPECT_EQ(Read(perUser), "[Settings]\r\nReplyFormat=1\r\n");

    // The copy in the folder is the user's from now on.
    Write(perUser, "[Settings]\r\nReplyFormat=3\r\n");
    Write(beside, "[Settings]\r\nReplyFormat=0\r\n");
    EXPECT_EQ(Locate(module, appData + "\\"), perUser);
    EXPECT_EQ(Read(perUser), "[Settings]\r\nReplyFormat=3\r\n");
    EXPECT_EQ(Read(beside), "[Settings]\r\nReplyFormat=0\r\n");
}

TEST(SettingsFile, NoFileBesideTheLibraryCreatesOnlyTheFolder) {
    test::TempDir dir;
    std::string appData = dir.Join("AppData");
    platform::CreateDirectories(appData.c_str());
    std::string module = dir.Join("PlugIns") + "\\Halyard.dll";
    EXPECT_EQ(Locate(module, appData), appData + "\\Tarnwick\\Halyard\\Halyard.ini");
    EXPECT_TRUE(platform::IsDirectory((appData + "\\Tarnwick\\Halyard").c_str()));
    EXPECT_FALSE(test::Exists(OnDisk(appData + "\\Tarnwick\\Halyard\\Halyard.ini")));
}

TEST(SettingsFile, AnUnusablePerUserFolderLeavesTheFileBesideTheLibrary) {
    test::TempDir dir;
    std::string appData = dir.Join("AppData");
    std::string module = dir.Join("PlugIns") + "\\Halyard.dll";
    std::string beside = dir.Join("PlugIns") + "\\Halyard.ini";
    Write(beside, "[Settings]\r\n");

    // "Tarnwick" is a file, so the folder cannot be made.
    Write(appData + "\\Tarnwick", "in the way");
    EXPECT_EQ(Locate(module, appData), beside);
    EXPECT_EQ(Read(appData + "\\Tarnwick"), "in the way");

    // No application-data folder at all.
    EXPECT_EQ(Locate(module, ""), beside);

    // A per-user path that would not fit.
    std::string deep = "C:\\" + std::string(kPathSize - 20, 'd');
    EXPECT_EQ(Locate(module, deep), beside);
}
