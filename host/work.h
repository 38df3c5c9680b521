// What the entry points hand to a piece of the plug-in's work: the host's
// functions and the process-wide objects the plug-in's state owns. Nothing
// here is owned; a null pointer means the object does not exist.
#pragma once

#include <atomic>
#include <cstdint>

#include "host/host_api.h"

class SSettings;
class SHalyardAddrBook;
class AddressBookChanges;
class ReplyOrigins;

// HeaderBuffer, CopyBuffer and ResultBuffer: kListSize bytes each.
struct WorkBuffers {
    char* header = nullptr;
    char* copy = nullptr;
    char* result = nullptr;

    bool Ready() const { return header && copy && result; }
};

struct Work {
    const HostApi& host;
    SSettings* settings = nullptr;          // null: the plug-in is inactive
    SHalyardAddrBook* addrBook = nullptr;   // null: no address index
    WorkBuffers buffers;
    // What the change watcher saw; the index catches up before its next use.
    AddressBookChanges* addrBookChanges = nullptr;
    // The plug-in's own file description and version, for its mark in
    // X-Mailer-Plugin.
    const char* fileDescription = "";
    const char* fileVersion = "";
    // Which conversation each compose window answers, for the send check.
    ReplyOrigins* replyOrigins = nullptr;
};
