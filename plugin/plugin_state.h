// The process-wide objects that the start routine creates and the exit
// routine destroys. Everything here belongs to the host's thread, except
// the three watcher flags, which the change watcher shares.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/sizes.h"

class SSettings;
class SHalyardAddrBook;
class SExtendTemplate;
class SVersion;

struct PluginState {
    void* instance = nullptr;             // HINSTANCE of the library
    SVersion* version = nullptr;          // own version record; null when unreadable
    char settingsPath[kPathSize] = {};
    SSettings* settings = nullptr;        // null: the plug-in is inactive
    SHalyardAddrBook* addrBook = nullptr; // null: no address index
    SExtendTemplate* templates = nullptr;
    char* headerBuffer = nullptr;         // kListSize bytes each
    char* copyBuffer = nullptr;
    char* resultBuffer = nullptr;
    void* messageView = nullptr;          // HWND
    void* senderField = nullptr;          // HWND
    void* bitmapReply = nullptr;          // HBITMAP 108
    void* bitmapReplyAll = nullptr;       // HBITMAP 113

    // Shared with the change watcher thread.
    std::atomic<uint8_t> addrBookChanged{0};
    std::atomic<uint8_t> stopFlag{0};
    void* stopEvent = nullptr;            // HANDLE
    void* watcherThread = nullptr;        // HANDLE
};

PluginState& Plugin();
