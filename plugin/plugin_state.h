// The process-wide objects: the host's bound functions, made when the
// library loads, and what the start routine creates and the exit routine
// destroys. Everything here belongs to the host's thread, except the
// watcher's flags, thread and event, which the change watcher shares.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "addressbook/addr_book_changes.h"
#include "common/sizes.h"
#include "common/win32_handles.h"
#include "common/entry_gate.h"
#include "host/work.h"
#include "reply/reply_origins.h"

class SSettings;
class SHalyardAddrBook;
class SExtendTemplate;
class SVersion;

// HeaderBuffer, CopyBuffer and ResultBuffer, kListSize bytes of fixed
// global memory each.
struct OwnedWorkBuffers {
    win32::ScopedGlobalMem header;
    win32::ScopedGlobalMem copy;
    win32::ScopedGlobalMem result;

    // All three or none.
    bool Allocate();
    // Result, copy, then header.
    void Free();
    WorkBuffers View() const { return {header.Bytes(), copy.Bytes(), result.Bytes()}; }

    bool lent = false;   // a call in progress works in them
};

// The work buffers of one call: the plug-in's own set when no other call
// holds it, else a set made for this call alone. A call that arrives inside
// another call's message box thus never writes into buffers the suspended
// call still reads. Without the plug-in's set (inactive) there are none.
class CallBuffers {
public:
    explicit CallBuffers(OwnedWorkBuffers& shared);
    ~CallBuffers();
    CallBuffers(const CallBuffers&) = delete;
    CallBuffers& operator=(const CallBuffers&) = delete;

    WorkBuffers View() const { return view_; }

private:
    OwnedWorkBuffers* borrowed_ = nullptr;
    OwnedWorkBuffers own_;
    WorkBuffers view_;
};

struct PluginState {
    PluginState();
    ~PluginState();
    PluginState(const PluginState&) = delete;
    PluginState& operator=(const PluginState&) = delete;

    // What a piece of work receives from the entry points, working in the
    // given buffers of its call.
    Work MakeWork(const CallBuffers& buffers);

    HostApi host;
    // The calls in progress and the host's exit; the teardown is the exit
    // routine.
    EntryGate gate;
    std::unique_ptr<SVersion> version;     // null when unreadable
    char settingsPath[kPathSize] = {};
    std::unique_ptr<SSettings> settings;   // null: the plug-in is inactive
    std::unique_ptr<SHalyardAddrBook> addrBook;   // null: no address index
    std::unique_ptr<SExtendTemplate> templates;
    OwnedWorkBuffers buffers;
    HostWindow messageView = nullptr;      // the host's; not owned
    HostWindow senderField = nullptr;
    win32::ScopedGdiObject bitmapReply;    // bitmap 108
    win32::ScopedGdiObject bitmapReplyAll; // bitmap 113
    ReplyOrigins replyOrigins;             // compose windows opened as replies

    // Shared with the change watcher thread.
    AddressBookChanges addrBookChanges;
    std::atomic<uint8_t> stopFlag{0};
    win32::ScopedHandle stopEvent;
    win32::ScopedHandle watcherThread;
};

// The one state of the process, reached only by the entry points and the
// host's command and thread procedures.
PluginState& Plugin();
