// The one entry point of Quillon32.dll, called by Halyard's "Check version"
// button. Every argument is borrowed for the call; nothing is handed back
// that either side must free.
#pragma once

#include <windows.h>

// What the check came to, for callers and tests that want to know; every
// case has already been told to the user when the call returns.
enum QuillonOutcome : int {
    kQuillonUpToDate = 0,
    kQuillonDeclined = 1,          // a newer version exists; the user said No
    kQuillonStarted = 2,           // downloaded, verified and started
    kQuillonCancelled = 3,         // the user cancelled a transfer
    kQuillonRefusedAddress = 10,   // not https, nor http to this machine
    kQuillonUnreachable = 11,      // connection, HTTP status or read failure
    kQuillonInvalid = 12,          // the announcement is malformed
    kQuillonUnsigned = 13,         // no valid signature by a trusted key
    kQuillonMismatch = 14,         // the installer's size or digest differ
    kQuillonFailed = 15,           // no temporary file, or the installer did not start
};

// owner: the window that owns every box and the progress window.
// productName ("Halyard"), installedVersion ("4.1.3.0") and
// announcementUrl are NUL-terminated texts in the ANSI code page.
extern "C" int WINAPI QuillonCheckForUpdate(HWND owner, const char* productName,
                                            const char* installedVersion,
                                            const char* announcementUrl);
