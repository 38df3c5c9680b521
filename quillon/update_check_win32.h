// The update check from the announcement to the started installer.
#pragma once

#include <windows.h>

#include <string>

#include "quillon/keys/trusted_keys.h"

struct UpdateRequest {
    HWND owner = nullptr;
    HINSTANCE instance = nullptr;   // Quillon32.dll, for its resources
    std::string product;            // ANSI code page, as the caller passed them
    std::string installedVersion;
    std::string address;
    TrustedKeys keys = {nullptr, 0};
};

// Runs the whole check; every outcome has been shown to the user when it
// returns. Answers a QuillonOutcome.
int RunUpdateCheck(const UpdateRequest& request);
