// Change notifications over folder trees, for the address-book watcher.
#include <windows.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "common/text.h"
#include "common/win32_handles.h"

namespace platform {

namespace {

constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
constexpr DWORD kRetryMs = 100;

// Lists every folder below path once. Some systems (Wine) extend a subtree
// notification to a subfolder only when that folder is listed after the
// request; on Windows this is a plain read.
void ListSubtree(const std::string& path) {
    if (path.size() + 2 >= MAX_PATH) return;
    ListDirectory(path.c_str(), "*", [&path](const DirEntry& entry) {
        if (entry.isDirectory) ListSubtree(JoinPath(path, entry.name));
        return true;
    });
}

}  // namespace

void WatchFolderTrees(const std::vector<std::string>& folders, void* stopEvent,
                      const std::atomic<uint8_t>& stopFlag, const std::function<void()>& changed) {
    std::vector<win32::ScopedChangeNotification> watches;
    for (const std::string& folder : folders) {
        if (watches.size() >= kMaxWatchedFolders) break;
        win32::ScopedChangeNotification watch(
            FindFirstChangeNotificationA(folder.c_str(), TRUE, kNotifyFilter));
        if (watch) {
            watches.push_back(std::move(watch));
            ListSubtree(folder);
        }
    }

    HANDLE table[kMaxWatchedFolders + 1];
    while (!stopFlag.load()) {
        DWORD count = 0;
        table[count++] = static_cast<HANDLE>(stopEvent);
        for (const auto& watch : watches) table[count++] = watch.Get();

        const DWORD result = WaitForMultipleObjects(count, table, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) break;
        if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
            changed();
            const size_t signalled = result - WAIT_OBJECT_0 - 1;
            // A handle that cannot be renewed would stay signalled forever.
            if (!FindNextChangeNotification(watches[signalled].Get()))
                watches.erase(watches.begin() + static_cast<ptrdiff_t>(signalled));
            continue;
        }
        Sleep(kRetryMs);
    }
}

}  // namespace platform
