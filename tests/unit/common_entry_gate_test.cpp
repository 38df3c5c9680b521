#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "common/entry_gate.h"
#include "resources/string_ids.h"

// The boxes are recorded by the native stand-in of the platform only.
#if !defined(_WIN32)
#include "common/platform_testing.h"

namespace {

int g_teardowns = 0;
void CountTeardown() { ++g_teardowns; }

class EntryGateTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::testing::Reset();
        platform::testing::SetResString(kStrNoMemoryForWork, "Too few memory for work");
        g_teardowns = 0;
    }
    EntryGate gate{CountTeardown};
};

}  // namespace

TEST_F(EntryGateTest, AnExitInsideACallWaitsForTheOutermostAndClosesTheGate) {
    bool outerEnded = false;
    int nestedRan = 0;
    const int answer = RunHostCall(gate, nullptr, [&] {
        // A call inside this one's box, then the host's exit inside another.
        RunHostCall(gate, nullptr, [&] {
            RunHostCall(gate, nullptr, [&] {
                gate.RequestExit();
                return 0;
            });
            EXPECT_EQ(g_teardowns, 0);
            ++nestedRan;
            return 0;
        });
        // Closed now: a further call inside the box does nothing.
        EXPECT_EQ(RunHostCall(gate, nullptr, [&] { return ++nestedRan, 7; }), 0);
        EXPECT_EQ(g_teardowns, 0);
        outerEnded = true;
        return 5;
    });
    EXPECT_EQ(answer, 5);
    EXPECT_TRUE(outerEnded);
    EXPECT_EQ(nestedRan, 1);
    EXPECT_EQ(g_teardowns, 1);

    // After the exit: calls answer 0 without running, a second exit is calm.
    bool ran = false;
    EXPECT_EQ(RunHostCall(gate, nullptr, [&] { return ran = true, 1; }), 0);
    gate.RequestExit();
    EXPECT_FALSE(ran);
    EXPECT_EQ(g_teardowns, 1);
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());
}

TEST_F(EntryGateTest, WhatABodyThrowsEndsInTheGateAnsweringGoOn) {
    int owner = 0;
    EXPECT_EQ(RunHostCall(gate, &owner, []() -> int { throw std::bad_alloc(); }), 0);
    const auto boxes = platform::testing::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, &owner);
    EXPECT_EQ(boxes[0].text, "Too few memory for work");

    // Anything else thrown is swallowed without a box.
    EXPECT_EQ(RunHostCall(gate, nullptr, []() -> int { throw std::runtime_error("x"); }), 0);
    EXPECT_EQ(RunHostCall(gate, nullptr, []() -> int { throw 1; }), 0);
    EXPECT_TRUE(platform::testing::TakeShownBoxes().empty());
    EXPECT_EQ(gate.Depth(), 0);

    // An exit at rest tears down at once; a teardown that throws stays inside.
    EntryGate throwing([] { throw std::bad_alloc(); });
    throwing.RequestExit();
    EXPECT_TRUE(throwing.TornDown());
    gate.RequestExit();
    EXPECT_EQ(g_teardowns, 1);
}

#endif  // !_WIN32
