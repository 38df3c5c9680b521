// A compose window may hold UTF-8 while the plug-in works in the ANSI code
// page: telling such a window apart, and converting what the plug-in writes
// into it through the host. A UTF-8 window's text is never converted to the
// ANSI code page: characters that code page lacks would be lost.
#pragma once

#include <string>

#include "host/host_api.h"

constexpr int kUtf8CodePage = 65001;
constexpr int kCharSetBufferSize = 1024;

bool IsUtf8Window(const HostApi& host, HostWindow window);

// ANSI text in UTF-8, as a UTF-8 window takes it; empty when the host
// could not convert.
HostText HostToUtf8(const HostApi& host, const char* text);

// The same as a string; "" when the host could not convert.
std::string HostToUtf8String(const HostApi& host, const char* text);

// Writes an ANSI header value, converted for a UTF-8 window. A failed
// conversion leaves the header as it is: local bytes in a UTF-8 window would
// reach the recipient as garbage.
void SetComposeHeader(const HostApi& host, HostWindow window, const char* headerName,
                      const char* text);
