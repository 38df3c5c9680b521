// The host version rule, the work buffers, and the start and exit routines
// run without a host.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/host_api.h"
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
    OwnedWorkBuffers buffers;
    ASSERT_TRUE(buffers.Allocate());
    const WorkBuffers view = buffers.View();
    char* all[] = {view.header, view.copy, view.result};
    for (char* buffer : all) {
        ASSERT_NE(buffer, nullptr);
        EXPECT_GE(GlobalSize(GlobalHandle(buffer)), 65536u);
        std::memset(buffer, 'x', 65536);   // the whole size is ours
    }
    EXPECT_NE(all[0], all[1]);
    EXPECT_NE(all[1], all[2]);
    buffers.Free();
    EXPECT_FALSE(buffers.View().Ready());
    EXPECT_EQ(buffers.View().header, nullptr);
    buffers.Free();   // nothing left to free
}

TEST(Lifecycle, StartCreatesEveryObjectAndExitDestroysThemAll) {
    PluginState& state = Plugin();
    EXPECT_EQ(ExitPlugin(), 0);   // exit before any start

    EXPECT_EQ(StartPlugin(), 0);
    EXPECT_TRUE(state.settings);
    EXPECT_TRUE(state.addrBook);   // an index without books: no host folder here
    EXPECT_TRUE(state.buffers.View().Ready());
    // (The bitmaps live in the DLL's resources, which this program lacks.)
    EXPECT_TRUE(state.templates);
    EXPECT_TRUE(state.watcherThread);
    // The settings file is named after this program, in the per-user folder.
    std::string path = state.settingsPath;
    EXPECT_NE(path.find("\\Tarnwick\\Halyard\\"), std::string::npos) << path;
    EXPECT_EQ(path.substr(path.size() - 22), "win32_plugin_tests.ini") << path;

    EXPECT_EQ(ExitPlugin(), 0);
    EXPECT_FALSE(state.settings);
    EXPECT_FALSE(state.addrBook);
    EXPECT_FALSE(state.buffers.header);
    EXPECT_FALSE(state.buffers.copy);
    EXPECT_FALSE(state.buffers.result);
    EXPECT_FALSE(state.bitmapReply);
    EXPECT_FALSE(state.bitmapReplyAll);
    EXPECT_FALSE(state.templates);
    EXPECT_FALSE(state.watcherThread);
    EXPECT_FALSE(state.stopEvent);
}
