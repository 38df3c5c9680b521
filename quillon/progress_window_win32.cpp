#include "quillon/progress_window_win32.h"

#include <commctrl.h>

#include <atomic>

#include "common/win32_handles.h"
#include "quillon/res/resource_ids.h"

namespace {

constexpr UINT kProgressMessage = WM_APP + 1;
constexpr UINT kDoneMessage = WM_APP + 2;
constexpr int kBarRange = 1000;
constexpr uint64_t kBytesPerKb = 1024;

// Everything the window and its worker share; lives on the caller's stack
// until both have ended.
struct ProgressJob {
    const UpdateUi* ui;
    const std::wstring* status;
    const std::string* address;
    const TransferTarget* target;
    TransferCancel cancel;
    TransferResult result;
    HWND window = nullptr;
    win32::ScopedHandle thread;
    std::atomic<uint64_t> received{0};
    std::atomic<uint64_t> total{0};
    std::atomic<bool> progressPosted{false};   // one progress message in the queue at most
};

DWORD WINAPI Worker(void* parameter) {
    auto* job = static_cast<ProgressJob*>(parameter);
    // Nothing thrown may end the thread past its own frame: a transfer
    // that throws (out of memory) ends as a failed one.
    try {
        job->result = Transfer(*job->address, *job->target, job->cancel, [job](uint64_t received, uint64_t total) {
            job->received = received;
            job->total = total;
            if (job->window && !job->progressPosted.exchange(true)) {
                PostMessageW(job->window, kProgressMessage, 0, 0);
            }
        });
    } catch (...) {
        job->result.status = TransferStatus::NetworkError;
        job->result.detail = ERROR_NOT_ENOUGH_MEMORY;
    }
    // The last thing the worker does with the job.
    if (job->window) PostMessageW(job->window, kDoneMessage, 0, 0);
    return 0;
}

void ShowProgress(HWND window, ProgressJob& job) {
    job.progressPosted = false;
    const uint64_t received = job.received;
    const uint64_t total = job.total;
    const std::wstring kbReceived = std::to_wstring(received / kBytesPerKb);
    std::wstring detail;
    if (total > 0) {
        const uint64_t shown = received < total ? received : total;
        SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETPOS,
                            static_cast<WPARAM>(shown * kBarRange / total), 0);
        detail = FillText(LoadText(job.ui->instance, IDS_PROGRESS_OF),
                          {kbReceived, std::to_wstring((total + kBytesPerKb - 1) / kBytesPerKb)});
    } else {
        detail = FillText(LoadText(job.ui->instance, IDS_PROGRESS_SO_FAR), {kbReceived});
    }
    SetDlgItemTextW(window, IDC_DETAIL, detail.c_str());
}

void StartCancel(HWND window, ProgressJob& job) {
    if (job.cancel.Cancelled()) return;
    job.cancel.Cancel();
    SetDlgItemTextW(window, IDC_STATUS, LoadText(job.ui->instance, IDS_CANCELLING).c_str());
    EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
}

INT_PTR ProgressMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* job = reinterpret_cast<ProgressJob*>(GetWindowLongPtrW(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        job = reinterpret_cast<ProgressJob*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        job->window = window;
        SetWindowTextW(window, job->ui->caption.c_str());
        SetDlgItemTextW(window, IDC_STATUS, job->status->c_str());
        SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kBarRange);
        job->thread.Reset(CreateThread(nullptr, 0, Worker, job, 0, nullptr));
        if (!job->thread) {
            job->result.status = TransferStatus::NetworkError;
            job->result.detail = GetLastError();
            EndDialog(window, IDABORT);
        }
        return TRUE;
    }
    case kProgressMessage:
        if (job) ShowProgress(window, *job);
        return TRUE;
    case kDoneMessage:
        EndDialog(window, IDOK);
        return TRUE;
    case WM_COMMAND:
        if (job && LOWORD(wParam) == IDCANCEL) {
            StartCancel(window, *job);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        if (job) StartCancel(window, *job);
        return TRUE;
    case WM_DESTROY:
        // Destroyed from outside: the worker must still stop soon.
        if (job) job->cancel.Cancel();
        return FALSE;
    }
    return FALSE;
}

// Nothing thrown in handling a message may reach the dialog manager: the
// transfer is cancelled, and the worker's last message closes the window.
INT_PTR CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return ProgressMessage(window, message, wParam, lParam);
    } catch (...) {
        auto* job = reinterpret_cast<ProgressJob*>(GetWindowLongPtrW(window, DWLP_USER));
        if (job) job->cancel.Cancel();
        // Without a worker no last message comes.
        if (!job || !job->thread) EndDialog(window, IDABORT);
        return TRUE;
    }
}

}  // namespace

TransferResult RunProgressWindow(const UpdateUi& ui, const std::wstring& status, const std::string& address,
                                 const TransferTarget& target) {
    ProgressJob job;
    job.ui = &ui;
    job.status = &status;
    job.address = &address;
    job.target = &target;
    const INT_PTR ended = DialogBoxParamW(ui.instance, MAKEINTRESOURCEW(IDD_PROGRESS), ui.owner, ProgressProc,
                                          reinterpret_cast<LPARAM>(&job));
    // The window ends on the worker's last message; waiting here only
    // covers the worker's return.
    if (job.thread) WaitForSingleObject(job.thread.Get(), INFINITE);
    if (ended == -1 && !job.thread) {
        job.result.status = TransferStatus::NetworkError;
        job.result.detail = GetLastError();
    }
    return job.result;
}

TransferResult RunQuietTransfer(const UpdateUi& ui, const std::string& address, const TransferTarget& target) {
    ProgressJob job;
    job.ui = &ui;
    job.address = &address;
    job.target = &target;
    job.thread.Reset(CreateThread(nullptr, 0, Worker, &job, 0, nullptr));
    if (!job.thread) {
        job.result.status = TransferStatus::NetworkError;
        job.result.detail = GetLastError();
        return job.result;
    }
    // Modal without a window: the owner takes no input, but every window of
    // the thread goes on painting.
    const bool disabled = ui.owner && !EnableWindow(ui.owner, FALSE);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HANDLE thread = job.thread.Get();
    bool quit = false;
    int quitCode = 0;
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The application is ending: stop the transfer, pass the quit on.
                quit = true;
                quitCode = static_cast<int>(message.wParam);
                job.cancel.Cancel();
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    SetCursor(previous);
    if (disabled) EnableWindow(ui.owner, TRUE);
    if (quit) PostQuitMessage(quitCode);
    return job.result;
}
