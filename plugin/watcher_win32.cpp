// The address-book change watcher: one thread waits on a change notification
// per book folder and on the stop event, and raises the state's change flag.
#include "plugin/watcher.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/halyard_addr_book.h"
#include "common/text.h"
#include "common/win32_handles.h"
#include "plugin/plugin_state.h"

namespace {

constexpr SIZE_T kWatcherStackSize = 16384;
constexpr DWORD kStopWaitMs = 4000;
constexpr DWORD kRetryMs = 100;
// The stop event and at most 61 folders.
constexpr DWORD kWaitTableSize = 62;
constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;

// What the thread receives; it owns all of it.
struct WatcherStart {
    std::vector<std::string> folders;
    win32::ScopedHandle stopEvent;   // the thread's own handle to the event
    HMODULE module = nullptr;        // the thread's reference to this library
    // The process-wide state, which outlives the library's use of the thread.
    PluginState* state = nullptr;
};

// Lists every folder below path once. Some systems (Wine) extend a subtree
// notification to a subfolder only when that folder is listed after the
// request; on Windows this is a plain read.
void ListSubtree(const std::string& path) {
    if (path.size() + 2 >= MAX_PATH) return;
    WIN32_FIND_DATAA entry;
    win32::ScopedFind find(FindFirstFileA(JoinPath(path, "*").c_str(), &entry));
    if (!find) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0)
            continue;
        ListSubtree(JoinPath(path, entry.cFileName));
    } while (FindNextFileA(find.Get(), &entry));
}

void Watch(WatcherStart& start) {
    std::vector<win32::ScopedChangeNotification> changes;
    for (const std::string& folder : start.folders) {
        if (changes.size() + 1 >= kWaitTableSize) break;
        win32::ScopedChangeNotification change(
            FindFirstChangeNotificationA(folder.c_str(), TRUE, kNotifyFilter));
        if (change) {
            changes.push_back(std::move(change));
            ListSubtree(folder);
        }
    }

    HANDLE table[kWaitTableSize];
    PluginState& state = *start.state;
    while (!state.stopFlag.load()) {
        DWORD count = 0;
        table[count++] = start.stopEvent.Get();
        for (const auto& change : changes) table[count++] = change.Get();

        DWORD result = WaitForMultipleObjects(count, table, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) break;
        if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
            state.addrBookChanged.fetch_or(1);
            size_t signalled = result - WAIT_OBJECT_0 - 1;
            // A handle that cannot be re-armed would stay signalled forever.
            if (!FindNextChangeNotification(changes[signalled].Get()))
                changes.erase(changes.begin() + static_cast<ptrdiff_t>(signalled));
            continue;
        }
        Sleep(kRetryMs);
    }
}

DWORD WINAPI WatcherThread(void* parameter) {
    HMODULE module;
    {
        std::unique_ptr<WatcherStart> start(static_cast<WatcherStart*>(parameter));
        module = start->module;
        Watch(*start);
    }
    // The library stays loaded until this thread is done with its code,
    // even when the exit routine stopped waiting for it.
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

bool StartAddressBookWatcher(PluginState& state, const SHalyardAddrBook& book) {
    if (state.watcherThread) return false;

    auto start = std::make_unique<WatcherStart>();
    start->folders = book.BookContentPaths();
    start->state = &state;

    win32::ScopedHandle stopEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!stopEvent) return false;
    HANDLE threadEvent = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), stopEvent.Get(), GetCurrentProcess(), &threadEvent,
                         0, FALSE, DUPLICATE_SAME_ACCESS))
        return false;
    start->stopEvent.Reset(threadEvent);

    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&WatcherThread), &start->module))
        return false;
    win32::ScopedLibrary moduleReference(start->module);

    state.stopFlag.store(0);
    win32::ScopedHandle thread(
        CreateThread(nullptr, kWatcherStackSize, WatcherThread, start.get(), 0, nullptr));
    if (!thread) return false;
    // The thread owns the start record and the module reference now.
    start.release();
    moduleReference.Release();
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
