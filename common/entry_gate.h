// How the host's calls meet the plug-in's life. The host calls in on one
// thread, but not one call at a time: while a call shows a message box or a
// dialog, the host's other windows stay live, and what the user does there
// arrives inside the box's message loop. The gate counts the calls in
// progress, holds back an exit that arrives inside one until the outermost
// call has returned (the call in progress ends whole), and closes for good
// once the host has said exit: later calls answer calmly and do nothing.
#pragma once

#include <new>

class EntryGate {
public:
    using Teardown = void (*)();
    explicit EntryGate(Teardown teardown) : teardown_(teardown) {}
    EntryGate(const EntryGate&) = delete;
    EntryGate& operator=(const EntryGate&) = delete;

    // True once the host has said exit, whether or not the teardown ran.
    bool Closed() const { return exitRequested_; }
    int Depth() const { return depth_; }
    bool TornDown() const { return tornDown_; }

    // The host's exit: tears down now, or when the outermost call returns.
    void RequestExit();

private:
    friend class EntryScope;
    void Enter() { ++depth_; }
    void Leave();
    void TearDown();

    Teardown teardown_;
    int depth_ = 0;
    bool exitRequested_ = false;
    bool tornDown_ = false;
};

// One call of the host's in progress.
class EntryScope {
public:
    explicit EntryScope(EntryGate& gate) : gate_(gate) { gate_.Enter(); }
    ~EntryScope() { gate_.Leave(); }
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;

    // False after exit: the call answers 0 and touches nothing.
    bool Open() const { return !gate_.Closed(); }

private:
    EntryGate& gate_;
};

// What left a body run by CatchAll.
enum class Thrown { kNone, kNoMemory, kOther };

// Runs body; nothing it throws gets past this frame, which every function
// the host (or the system) calls into puts between itself and the work.
template <typename Body>
Thrown CatchAll(Body&& body) noexcept {
    try {
        body();
        return Thrown::kNone;
    } catch (const std::bad_alloc&) {
        return Thrown::kNoMemory;
    } catch (...) {
        return Thrown::kOther;
    }
}

// Tells the user that the work was stopped for lack of memory; never
// throws (without memory even for the box, nothing is shown).
void ShowNoMemoryBox(void* owner) noexcept;

// One call of the host's: answers what body answers, or 0 ("go on") when
// the gate is closed or body throws; a lack of memory is told in a box
// owned by owner.
template <typename Body>
int RunHostCall(EntryGate& gate, void* owner, Body&& body) noexcept {
    EntryScope scope(gate);
    if (!scope.Open()) return 0;
    int answer = 0;
    if (CatchAll([&] { answer = body(); }) == Thrown::kNoMemory) ShowNoMemoryBox(owner);
    return answer;
}
