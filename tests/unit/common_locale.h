// Code page control for tests that run natively and under Wine: natively
// the stand-in is switched, under Wine the run's locale decides.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "common/platform.h"
#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

namespace test {

// True when the process now works in code page 932. Under Wine a run in a
// Japanese locale that did not get 932 is a broken test setup, not a skip.
inline bool UseCodePage932() {
#if defined(_WIN32)
    const char* lc = std::getenv("LC_ALL");
    if (lc && std::strncmp(lc, "ja", 2) == 0) {
        EXPECT_EQ(platform::AnsiCodePage(), 932u) << "ja run without code page 932";
    }
    return platform::AnsiCodePage() == 932;
#else
    platform::testing::SetAnsiCodePage(932);
    return true;
#endif
}

// True when the process now works in code page 1252.
inline bool UseCodePage1252() {
#if defined(_WIN32)
    return platform::AnsiCodePage() == 1252;
#else
    platform::testing::SetAnsiCodePage(1252);
    return true;
#endif
}

// Restores the native stand-in after a test.
class NativeReset : public ::testing::Test {
protected:
    void TearDown() override {
#if !defined(_WIN32)
        platform::testing::Reset();
#endif
    }
};

}  // namespace test
