#include "common/entry_gate.h"

#include "common/string_box.h"
#include "resources/string_ids.h"

void EntryGate::RequestExit() {
    if (exitRequested_) return;
    exitRequested_ = true;
    if (depth_ == 0) TearDown();
}

void EntryGate::Leave() {
    --depth_;
    if (depth_ == 0 && exitRequested_) TearDown();
}

void EntryGate::TearDown() {
    if (tornDown_) return;
    tornDown_ = true;
    if (teardown_) CatchAll(teardown_);
}

void ShowNoMemoryBox(void* owner) noexcept {
    CatchAll([owner] { ShowErrorBox(owner, kStrNoMemoryForWork); });
}
