// One HTTP GET through WinHTTP, on a worker thread, following redirects
// only to allowed addresses, into memory or a file, with a size limit and
// a cancel that the user-interface thread pulls.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "quillon/handles_win32.h"

constexpr DWORD kConnectTimeoutMs = 15000;
constexpr DWORD kIdleTimeoutMs = 30000;      // without data
constexpr int kMaxRedirects = 5;

// The cancel shared by the worker and the user-interface thread. While
// the worker waits on its request, the request is lent here: Cancel()
// closes it from the other thread, which WinHTTP documents as the way to
// abort a blocking call, and the worker gets nothing back to close again.
class TransferCancel {
public:
    TransferCancel();
    ~TransferCancel();
    TransferCancel(const TransferCancel&) = delete;
    TransferCancel& operator=(const TransferCancel&) = delete;

    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }
    // The worker lends its request; false, the request left with it, when
    // cancelled already.
    bool Lend(win32::ScopedInternet& request);
    // The worker takes its request back: an empty one when Cancel() closed it.
    win32::ScopedInternet TakeBack();

private:
    CRITICAL_SECTION lock_;
    std::atomic<bool> cancelled_{false};
    win32::ScopedInternet lent_;
};

struct TransferTarget {
    uint64_t limit = 0;             // more bytes than this end the transfer
    std::string* memory = nullptr;  // receives the body, or
    HANDLE file = INVALID_HANDLE_VALUE;
};

enum class TransferStatus {
    Done,
    Cancelled,
    Refused,          // the address (or a redirect) is not allowed
    NetworkError,     // detail: the system error
    HttpStatus,       // detail: the status code
    TooManyRedirects,
    TooLarge,         // more than target.limit bytes
    WriteFailed,      // detail: the system error
};

struct TransferResult {
    TransferStatus status = TransferStatus::Done;
    DWORD detail = 0;
    std::string refusedAddress;
    uint64_t received = 0;
};

// received so far and the announced total (0 when unknown); called on the
// worker thread.
using TransferProgress = std::function<void(uint64_t received, uint64_t total)>;

TransferResult Transfer(const std::string& address, const TransferTarget& target,
                        TransferCancel& cancel, const TransferProgress& progress);
