#include "call_frames.h"

#include <windows.h>

#include <vector>

#include "common/win32_handles.h"
#include "host_memory.h"
#include "transcript.h"

namespace {

// Only the host's thread pushes and pops; the fault handlers read it.
struct SCallStack {
    DWORD thread = 0;
    std::vector<std::string> calls;
};

SCallStack& Calls() {
    static SCallStack stack;
    return stack;
}

// The file the wrapper names in BKHOST_POSITION, if any.
HANDLE PositionFile() {
    static win32::ScopedFile file([] {
        wchar_t path[MAX_PATH] = {};
        DWORD n = GetEnvironmentVariableW(L"BKHOST_POSITION", path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return INVALID_HANDLE_VALUE;
        return CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }());
    return file.Get();
}

}  // namespace

SPluginCall::SPluginCall(std::string what) {
    Calls().calls.push_back(what);
    HostHeap().BeginFrame(what);
    NotePosition();
}

SPluginCall::~SPluginCall() {
    HostHeap().EndFrame();
    Calls().calls.pop_back();
    NotePosition();
}

void NotePosition() {
    HANDLE file = PositionFile();
    if (file == INVALID_HANDLE_VALUE) return;
    std::string call = CallInProgress();
    std::string text = std::to_string(CurrentLine()) + "\n" + call + "\n";
    DWORD written = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    SetEndOfFile(file);
}

int CallDepth() { return static_cast<int>(Calls().calls.size()); }

std::string CallInProgress() {
    const std::vector<std::string>& calls = Calls().calls;
    return calls.empty() ? std::string() : calls.back();
}

bool InnermostCallIs(const std::string& what) {
    const std::vector<std::string>& calls = Calls().calls;
    return !calls.empty() && calls.back() == what;
}

void RememberHostThread() { Calls().thread = GetCurrentThreadId(); }

bool OnHostThread() { return GetCurrentThreadId() == Calls().thread; }
