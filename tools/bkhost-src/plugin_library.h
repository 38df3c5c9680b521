// The plug-in library, loaded as the host loads it and unloaded with
// FreeLibrary. Its BKC_* exports, looked up by their plain names.
#pragma once

#include <windows.h>

#include <string>

// The host's plug-in information record.
struct SPluginInfo {
    char name[80];
    char vendor[80];
    char version[80];
    char description[256];
};

struct SPluginExports {
    int(WINAPI* OnStart)() = nullptr;
    int(WINAPI* OnExit)() = nullptr;
    int(WINAPI* OnMenuInit)(HWND, HMENU, int) = nullptr;
    int(WINAPI* OnOpenFolder)(LPCSTR) = nullptr;
    int(WINAPI* OnOpenMail)(LPCSTR) = nullptr;
    int(WINAPI* OnEveryMinute)() = nullptr;
    int(WINAPI* OnOpenCompose)(HWND, int) = nullptr;
    int(WINAPI* OnOutgoing)(HWND, int) = nullptr;
    int(WINAPI* OnKeyDispatch)(HWND, int, int) = nullptr;
    int(WINAPI* OnRetrieve)(LPCSTR, LPCSTR) = nullptr;
    int(WINAPI* OnSend)(LPCSTR) = nullptr;
    int(WINAPI* OnFinishRetrieve)(int) = nullptr;
    int(WINAPI* OnPlugInSetup)(HWND) = nullptr;
    int(WINAPI* OnPlugInInfo)(SPluginInfo*) = nullptr;
    int(WINAPI* OnDragDrop)(LPCSTR, LPCSTR, int, int) = nullptr;
    int(WINAPI* OnBeforeFilter)(LPCSTR, int*, char**) = nullptr;
};

class SPluginLibrary {
public:
    SPluginLibrary() = default;
    ~SPluginLibrary() { Unload(); }
    SPluginLibrary(const SPluginLibrary&) = delete;
    SPluginLibrary& operator=(const SPluginLibrary&) = delete;

    // LoadLibraryA of the full path; false when the library refused to load.
    bool Load(const std::string& ansiPath);
    void Unload();
    bool Loaded() const { return module_ != nullptr; }
    const SPluginExports& Exports() const { return exports_; }

private:
    HMODULE module_ = nullptr;
    SPluginExports exports_;
};
