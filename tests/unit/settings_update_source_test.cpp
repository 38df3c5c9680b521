#include <gtest/gtest.h>

#include <string>

#include "settings/update_source.h"
#include "support/test_support.h"

namespace {

TEST(UpdateSource, SettingsKeyReplacesTheMakersAddress) {
    test::TempDir dir;
    const std::string path = dir.Join("Halyard.ini");
    EXPECT_EQ(UpdateAnnouncementAddress(nullptr), kMakerUpdateAddress);
    EXPECT_EQ(UpdateAnnouncementAddress(""), kMakerUpdateAddress);
    EXPECT_EQ(UpdateAnnouncementAddress(path.c_str()), kMakerUpdateAddress);   // no file yet

    test::WriteBytes(path, "[Update]\r\nURL=http://127.0.0.1:8000/u.txt\r\n");
    EXPECT_EQ(UpdateAnnouncementAddress(path.c_str()), "http://127.0.0.1:8000/u.txt");
    test::WriteBytes(path, "[Update]\r\nURL=\r\n[Other]\r\nURL=http://x/\r\n");
    EXPECT_EQ(UpdateAnnouncementAddress(path.c_str()), kMakerUpdateAddress);
    // A value too long to hold whole is not used cut short.
    test::WriteBytes(path, "[Update]\r\nURL=https://h/" + std::string(kUpdateAddressSize, 'a') + "\r\n");
    EXPECT_EQ(UpdateAnnouncementAddress(path.c_str()), kMakerUpdateAddress);
}

}  // namespace
