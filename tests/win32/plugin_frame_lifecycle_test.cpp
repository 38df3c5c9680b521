// The host version rule, the work buffers, and the start and exit routines
// run without a host.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/host_api.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"

TEST(HostVersion, OlderHostsMayLackTheOptionalFunctions) {
    for (const char* older : {"2.00.05", "2.00.0", "1.26.04", "2.00", "", "0"})
        EXPECT_TRUE(IsOlderHostVersion(older)) << older;
    EXPECT_TRUE(IsOlderHostVersion(nullptr));
    // "2.00.06" itself, later versions, and anything longer than 7 characters.
    for (const char* newer : {"2.00.06", "2.00.07", "2.75.00", "3", "2.00.05a", "1.00.001"})
        EXPECT_FALSE(IsOlderHostVersion(newer)) << newer;
}

TEST(HostVersion, InitRefusesAHostWithoutItsFunctions) {
    // This test program exports none of the host's functions.
    HostApi api;
    EXPECT_FALSE(api.Init());
    EXPECT_FALSE(api.Bound());
    EXPECT_EQ(api.GetVersion, nullptr);
}

TEST(WorkBuffers, AllThreeOrNone) {
    PluginState state;
    ASSERT_TRUE(AllocateWorkBuffers(state));
    char* buffers[] = {state.headerBuffer, state.copyBuffer, state.resultBuffer};
    for (char* buffer : buffers) {
        ASSERT_NE(buffer, nullptr);
        EXPECT_GE(GlobalSize(GlobalHandle(buffer)), 65536u);
        std::memset(buffer, 'x', 65536);   // the whole size is ours
    }
    EXPECT_NE(buffers[0], buffers[1]);
    EXPECT_NE(buffers[1], buffers[2]);
    FreeWorkBuffers(state);
    EXPECT_EQ(state.headerBuffer, nullptr);
    EXPECT_EQ(state.copyBuffer, nullptr);
    EXPECT_EQ(state.resultBuffer, nullptr);
    FreeWorkBuffers(state);   // nothing left to free
}

TEST(Lifecycle, StartCreatesEveryObjectAndExitDestroysThemAll) {
    PluginState& state = Plugin();
    EXPECT_EQ(ExitPlugin(), 0);   // exit before any start

    EXPECT_EQ(StartPlugin(), 0);
    EXPECT_NE(state.settings, nullptr);
    EXPECT_NE(state.addrBook, nullptr);   // an index without books: no host folder here
    EXPECT_NE(state.headerBuffer, nullptr);
    EXPECT_NE(state.copyBuffer, nullptr);
    EXPECT_NE(state.resultBuffer, nullptr);
    // (The bitmaps live in the DLL's resources, which this program lacks.)
    EXPECT_NE(state.templates, nullptr);
    EXPECT_NE(state.watcherThread, nullptr);
    // The settings file is named after this program, in the per-user folder.
    std::string path = state.settingsPath;
    EXPECT_NE(path.find("\\Tarnwick\\Halyard\\"), std::string::npos) << path;
    EXPECT_EQ(path.substr(path.size() - 22), "win32_plugin_tests.ini") << path;

    EXPECT_EQ(ExitPlugin(), 0);
    EXPECT_EQ(state.settings, nullptr);
    EXPECT_EQ(state.addrBook, nullptr);
    EXPECT_EQ(state.headerBuffer, nullptr);
    EXPECT_EQ(state.copyBuffer, nullptr);
    EXPECT_EQ(state.resultBuffer, nullptr);
    EXPECT_EQ(state.bitmapReply, nullptr);
    EXPECT_EQ(state.bitmapReplyAll, nullptr);
    EXPECT_EQ(state.templates, nullptr);
    EXPECT_EQ(state.watcherThread, nullptr);
    EXPECT_EQ(state.stopEvent, nullptr);
}
