// Calls into the host that survive a structured exception raised inside
// it. A failing host may raise one where it would answer; left alone, it
// would unwind through the plug-in and take the mail client down.
#pragma once

// Runs call(context). True when it returned; false when it ended in a
// structured exception, which is then handled: the frames inside the call
// have been unwound (their own clean-up ran) and control is back here.
bool CallGuarded(void (*call)(void*), void* context);

// The same for any callable. What it captures must be plain data: a raised
// exception leaves the callable's frame without running destructors.
template <typename Call>
bool CallGuarded(Call& call) {
    return CallGuarded([](void* context) { (*static_cast<Call*>(context))(); }, &call);
}
