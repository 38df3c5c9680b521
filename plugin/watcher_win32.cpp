// The address-book change watcher: one thread watches every book folder
// until the stop event, and raises the state's change flag.
#include "plugin/watcher.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "addressbook/addr_book_changes.h"
#include "addressbook/address_book.h"
#include "common/platform.h"
#include "common/win32_handles.h"
#include "common/entry_gate.h"
#include "plugin/plugin_state.h"

namespace {

constexpr SIZE_T kWatcherStackSize = 16384;
constexpr DWORD kStopWaitMs = 4000;

// What the thread receives; it owns all of it.
struct WatcherStart {
    platform::FolderWatches watches;
    win32::ScopedHandle stopEvent;              // the thread's own handle to the event
    platform::ModuleReference module;           // keeps this library loaded for the thread
    // The process-wide state, which outlives the library's use of the thread.
    PluginState* state = nullptr;
};

// Queued without allocating: the reader then reads everything again.
platform::FolderChange ReadEverything() {
    return platform::FolderChange{platform::FolderChangeKind::kUnknown, std::string()};
}

DWORD WINAPI WatcherThread(void* parameter) {
    platform::ModuleReference module;
    {
        std::unique_ptr<WatcherStart> start(static_cast<WatcherStart*>(parameter));
        module = std::move(start->module);
        PluginState& state = *start->state;
        // Nothing thrown may end the thread past its own frame. A change
        // that cannot be queued for want of memory has the next look-up
        // read the whole book again; a watch that fails so ends with the
        // same request, so that nothing it would have seen goes unread.
        const Thrown escaped = CatchAll([&] {
            start->watches.Watch(start->stopEvent.Get(), state.stopFlag,
                                 [&state](const platform::FolderChange& change) {
                                     if (CatchAll([&] { state.addrBookChanges.Add(change); }) !=
                                         Thrown::kNone)
                                         state.addrBookChanges.Add(ReadEverything());
                                 });
        });
        if (escaped != Thrown::kNone)
            CatchAll([&state] { state.addrBookChanges.Add(ReadEverything()); });
    }
    // The library stays loaded until this thread is done with its code,
    // even when the exit routine stopped waiting for it.
    platform::ExitThreadReleasing(std::move(module), 0);
}

}  // namespace

platform::FolderWatches ArmAddressBookWatches(const std::string& addrBookRoot) {
    std::vector<std::string> folders;
    for (const BookFolder& book : ListBooks(addrBookRoot)) folders.push_back(book.contentPath);
    return platform::FolderWatches::Arm(folders);
}

bool StartAddressBookWatcher(PluginState& state, platform::FolderWatches watches) {
    if (state.watcherThread) return false;

    auto start = std::make_unique<WatcherStart>();
    start->watches = std::move(watches);
    start->state = &state;

    win32::ScopedHandle stopEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!stopEvent) return false;
    HANDLE threadEvent = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), stopEvent.Get(), GetCurrentProcess(), &threadEvent,
                         0, FALSE, DUPLICATE_SAME_ACCESS))
        return false;
    start->stopEvent.Reset(threadEvent);

    start->module = platform::ReferenceModule();
    if (!start->module) return false;

    state.stopFlag.store(0);
    win32::ScopedHandle thread(
        CreateThread(nullptr, kWatcherStackSize, WatcherThread, start.get(), 0, nullptr));
    if (!thread) return false;
    // The thread owns the start record and the module reference now.
    start.release();
    state.stopEvent = std::move(stopEvent);
    state.watcherThread = std::move(thread);
    return true;
}

void StopAddressBookWatcher(PluginState& state) {
    state.stopFlag.store(1);
    if (state.stopEvent) SetEvent(state.stopEvent.Get());
    if (state.watcherThread) WaitForSingleObject(state.watcherThread.Get(), kStopWaitMs);
    // The thread closes its own handle to the event; this one is ours.
    state.watcherThread.Reset();
    state.stopEvent.Reset();
}
