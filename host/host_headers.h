// Reading headers and folders from the host, always terminated and bounded.
#pragma once

#include <cstddef>
#include <string>

#include "host/host_api.h"

// A header value read into a caller's buffer. The host cuts a value that
// does not fit to the buffer's size less one byte, so a value that fills the
// buffer may have been cut: written back, it would lose recipients and
// corrupt the last one. `whole` tells a value that fit.
struct HeaderValue {
    char* text = nullptr;   // the caller's buffer, terminated; "" when absent
    bool whole = false;     // false: the value filled the buffer
};

// A header of the compose window into buffer[0..size).
HeaderValue ReadComposeHeader(const HostApi& host, HostWindow window, const char* name,
                              char* buffer, size_t size);
// A header of the host's current mail (the mail being replied to).
HeaderValue ReadMailHeader(const HostApi& host, const char* name, char* buffer, size_t size);

// The host's folders, copied the moment the host answers: its answer is
// valid only until the next call of any host function. A host that
// answers nothing, or raises an exception instead of answering, gives "".
std::string HostDataFolder(const HostApi& host);
std::string HostCurrentFolder(const HostApi& host);
std::string HostCurrentMailBox(const HostApi& host);
// The host's expansion of the group addresses in a recipient list; empty
// when the host has no such function, answers nothing or raises.
HostText SerializeRecipients(const HostApi& host, const char* addresses);
