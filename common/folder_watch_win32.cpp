// Change watches over folder trees, for the address-book watcher. Each
// folder's directory keeps one read for changes pending; the system fills
// its buffer with the names of what changed below the folder, so that the
// reader can tell which file to read again instead of reading them all.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/platform.h"
#include "common/win32_handles.h"

namespace platform {

namespace {

constexpr DWORD kNotifyFilter =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
// What one read can hold; more changes between two reads than fit are
// reported as kUnknown. Under 64 KiB, which network folders refuse.
constexpr DWORD kChangeBufferSize = 32 * 1024;
constexpr DWORD kRetryMs = 100;
// How often a folder that could not be watched is tried again.
constexpr DWORD kReopenMs = 1000;

FolderChangeKind KindOf(DWORD action) {
    switch (action) {
        case FILE_ACTION_ADDED: return FolderChangeKind::kAdded;
        case FILE_ACTION_REMOVED: return FolderChangeKind::kRemoved;
        case FILE_ACTION_MODIFIED: return FolderChangeKind::kModified;
        case FILE_ACTION_RENAMED_OLD_NAME: return FolderChangeKind::kRenamedFrom;
        case FILE_ACTION_RENAMED_NEW_NAME: return FolderChangeKind::kRenamedTo;
        default: return FolderChangeKind::kUnknown;
    }
}

std::string ToAnsi(const wchar_t* text, size_t length) {
    if (length == 0 || length > INT_MAX) return {};
    const int n = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, text, n, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, n, out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

// One folder: its directory opened for watching, the read pending on it and
// the buffer the system writes into. Never moves while a read is pending.
// A folder that cannot be opened or read (a share gone away, a stick
// pulled) stays in the set, closed, and is opened again later.
struct FolderWatch {
    std::string folder;
    win32::ScopedFile directory;
    win32::ScopedHandle completed;   // manual-reset event of the pending read
    OVERLAPPED overlapped = {};
    std::vector<DWORD> buffer = std::vector<DWORD>(kChangeBufferSize / sizeof(DWORD));
    bool pending = false;

    FolderWatch() = default;
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch() { Close(); }

    // The system writes into the buffer until the read has ended.
    void Close() {
        if (pending) {
            CancelIoEx(directory.Get(), &overlapped);
            DWORD got = 0;
            GetOverlappedResult(directory.Get(), &overlapped, &got, TRUE);
            pending = false;
        }
        directory.Reset();
    }

    // Opens the folder when it is closed and starts a read on it.
    bool Open() {
        if (!completed) completed.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!directory)
            directory.Reset(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                                        nullptr));
        if (!completed || !directory || !Arm()) {
            directory.Reset();
            return false;
        }
        return true;
    }

    bool Arm() {
        ResetEvent(completed.Get());
        overlapped = {};
        overlapped.hEvent = completed.Get();
        pending = ReadDirectoryChangesW(directory.Get(), buffer.data(), kChangeBufferSize, TRUE,
                                        kNotifyFilter, nullptr, &overlapped, nullptr) != FALSE;
        return pending;
    }

    // Hands each change the finished read holds to changed(); false when
    // the read failed (the folder is gone or cannot be watched any more).
    bool Report(const std::function<void(const FolderChange&)>& changed) {
        pending = false;
        DWORD got = 0;
        if (!GetOverlappedResult(directory.Get(), &overlapped, &got, FALSE)) return false;
        // Nothing returned: more changed than the buffer could hold.
        if (got == 0) changed({FolderChangeKind::kUnknown, folder});
        const auto* bytes = reinterpret_cast<const BYTE*>(buffer.data());
        const size_t size = std::min<size_t>(got, kChangeBufferSize);
        constexpr size_t kHeader = offsetof(FILE_NOTIFY_INFORMATION, FileName);
        for (size_t at = 0; at + kHeader <= size;) {
            const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(bytes + at);
            const size_t nameBytes = record->FileNameLength;
            if (at + kHeader + nameBytes > size) break;
            const std::string name = ToAnsi(record->FileName, nameBytes / sizeof(wchar_t));
            if (!name.empty()) changed({KindOf(record->Action), folder + "\\" + name});
            if (record->NextEntryOffset == 0) break;
            at += record->NextEntryOffset;
        }
        return true;
    }
};

FolderWatches::FolderWatches() = default;
FolderWatches::~FolderWatches() = default;
FolderWatches::FolderWatches(FolderWatches&& other) noexcept = default;
FolderWatches& FolderWatches::operator=(FolderWatches&& other) noexcept = default;

FolderWatches FolderWatches::Arm(const std::vector<std::string>& folders) {
    FolderWatches armed;
    for (const std::string& folder : folders) {
        if (armed.watches_.size() >= kMaxWatchedFolders) break;
        auto watch = std::make_unique<FolderWatch>();
        watch->folder = folder;
        watch->Open();   // one that cannot be opened now is tried again while watching
        armed.watches_.push_back(std::move(watch));
    }
    return armed;
}

size_t FolderWatches::Size() const {
    return static_cast<size_t>(std::count_if(watches_.begin(), watches_.end(),
                                             [](const auto& watch) { return watch->pending; }));
}

void FolderWatches::Watch(void* stopEvent, const std::atomic<uint8_t>& stopFlag,
                          const std::function<void(const FolderChange&)>& changed) {
    HANDLE table[kMaxWatchedFolders + 1];
    FolderWatch* owners[kMaxWatchedFolders + 1] = {};
    ULONGLONG lastReopen = GetTickCount64();
    while (!stopFlag.load()) {
        DWORD count = 0;
        bool closed = false;
        table[count++] = static_cast<HANDLE>(stopEvent);
        for (const auto& watch : watches_) {
            if (!watch->pending) {
                closed = true;
                continue;
            }
            owners[count] = watch.get();
            table[count++] = watch->completed.Get();
        }
        // Due however busy the other folders are.
        const ULONGLONG since = GetTickCount64() - lastReopen;
        if (closed && since >= kReopenMs) {
            lastReopen = GetTickCount64();
            // What changed while a folder was unreachable went unseen.
            for (const auto& watch : watches_)
                if (!watch->pending && watch->Open()) changed({FolderChangeKind::kUnknown, watch->folder});
            continue;
        }

        const DWORD timeout = closed ? static_cast<DWORD>(kReopenMs - since) : INFINITE;
        const DWORD result = WaitForMultipleObjects(count, table, FALSE, timeout);
        if (result == WAIT_OBJECT_0) break;
        if (result == WAIT_TIMEOUT) continue;
        if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
            FolderWatch& watch = *owners[result - WAIT_OBJECT_0];
            // A watch that failed or cannot be renewed would fire forever:
            // it is closed and opened again on the timer.
            if (!watch.Report(changed) || !watch.Arm()) {
                changed({FolderChangeKind::kUnknown, watch.folder});
                watch.Close();
            }
            continue;
        }
        Sleep(kRetryMs);
    }
}

}  // namespace platform
