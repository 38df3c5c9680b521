// Reading one header value from the host into a caller's buffer. The host
// cuts a value that does not fit to the buffer's size less one byte, so a
// value that fills the buffer may have been cut: written back, it would
// lose recipients and corrupt the last one. `whole` tells a value that fit.
#pragma once

#include <cstddef>

#include "plugin/host_api.h"

struct HeaderValue {
    char* text = nullptr;   // the caller's buffer, terminated; "" when absent
    bool whole = false;     // false: the value filled the buffer
};

// A header of the compose window.
HeaderValue ReadComposeHeader(HostWindow window, const char* name, char* buffer, size_t size);
// A header of the host's current mail (the mail being replied to).
HeaderValue ReadMailHeader(const char* name, char* buffer, size_t size);
