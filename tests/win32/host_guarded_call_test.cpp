// Calls into a host that raises structured exceptions instead of answering.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "host/guarded_call.h"

namespace {

constexpr DWORD kHostFailure = 0xE0424B01;

void RaiseHostFailure(void*) { RaiseException(kHostFailure, EXCEPTION_NONCONTINUABLE, 0, nullptr); }

void ReadNull(void*) {
    volatile int* nowhere = nullptr;
    (void)*nowhere;
}

// Stands for a host that throws and catches inside its own code: the guard
// must leave that to the host.
void HandlesItsOwn(void* result) {
    try {
        throw std::runtime_error("inside the host");
    } catch (const std::runtime_error&) {
        *static_cast<int*>(result) = 42;
    }
}

}  // namespace

TEST(GuardedCall, AnswerOrRaise) {
    int answer = 0;
    auto answers = [&answer] { answer = 7; };
    EXPECT_TRUE(CallGuarded(answers));
    EXPECT_EQ(answer, 7);

    EXPECT_FALSE(CallGuarded(RaiseHostFailure, nullptr));
    EXPECT_FALSE(CallGuarded(ReadNull, nullptr));

    int handled = 0;
    EXPECT_TRUE(CallGuarded(HandlesItsOwn, &handled));
    EXPECT_EQ(handled, 42);
}

TEST(GuardedCall, NestedGuardsAndManyCallsLeaveTheChainAsFound) {
    bool innerResult = true;
    auto nested = [&innerResult] { innerResult = CallGuarded(RaiseHostFailure, nullptr); };
    EXPECT_TRUE(CallGuarded(nested));
    EXPECT_FALSE(innerResult);

    for (int i = 0; i < 1000; ++i) ASSERT_FALSE(CallGuarded(RaiseHostFailure, nullptr)) << i;

    // Outside any guard the process's own handling is back in charge.
    bool reached = false;
    try {
        throw std::logic_error("after the guards");
    } catch (const std::logic_error&) {
        reached = true;
    }
    EXPECT_TRUE(reached);
}
