// The progress window of a transfer: a modal dialog owned by the caller's
// window, with a bar and Cancel, while a worker thread transfers.
#pragma once

#include <string>

#include "quillon/transfer_win32.h"
#include "quillon/ui_text_win32.h"

// Transfers address into target on a worker thread while the window
// shows status and the progress. Cancel (or closing the window) aborts the
// transfer; the window ends when the worker has ended, so nothing of the
// transfer outlives the call.
TransferResult RunProgressWindow(const UpdateUi& ui, const std::wstring& status, const std::string& address,
                                 const TransferTarget& target);

// The same without a window, for the short announcement: the owner is
// disabled and keeps painting while the worker runs; the time-outs bound
// the wait. The only window titled "<product> Update" that a transfer
// shows is then the installer's download.
TransferResult RunQuietTransfer(const UpdateUi& ui, const std::string& address, const TransferTarget& target);
