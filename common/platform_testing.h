// Controls of the native stand-in of the platform seam, for tests only.
// Implemented by platform_posix.cpp; not available on Windows, where the
// real system answers.
#pragma once

#include <string>
#include <vector>

#include "common/platform.h"

namespace platform::testing {

// Back to the start state: code page 1252, no strings, no host key, no
// folders, no queued answers, the shell opening everything, Control up.
void Reset();

void SetAnsiCodePage(unsigned codePage);   // 932 or 1252
void SetResString(unsigned id, const std::string& text);

void SetHostKeyExists(bool exists);
void SetHostValue(const char* name, const RegistryValue& value);
void ClearHostValue(const char* name);
// Shorthands for the host's value types.
RegistryValue DwordValue(uint32_t value);
RegistryValue StringValue(const std::string& text);   // stored with its terminator

void SetAppDataFolder(const std::string& path);
void SetCommonAppDataFolder(const std::string& path);
void SetModuleFilePath(const std::string& path);

struct ShownBox {
    void* owner;
    std::string text;
    std::string caption;
    unsigned flags;
};
// Answers handed out by ShowMessageBox in order; without one it answers
// kIdOk (kIdYes for a yes/no box).
void QueueMessageBoxAnswer(int answer);
// The boxes shown since the last call (or Reset), oldest first.
std::vector<ShownBox> TakeShownBoxes();

// What OpenWithShell answers from now on (true at the start); every target
// it was handed since the last call (or Reset), oldest first.
void SetShellOpens(bool opens);
std::vector<std::string> TakeShellTargets();

void SetControlKeyDown(bool down);
// Marks a window handle as destroyed (or alive again); null never exists.
void SetWindowGone(void* window, bool gone);

}  // namespace platform::testing
