// Reading headers from the host, bounded and always terminated, and the
// conversions a UTF-8 compose window needs.
#pragma once

#include <cstddef>
#include <string>

#include "plugin/host_api.h"

constexpr int kUtf8CodePage = 65001;
constexpr size_t kCharsetNameSize = 1024;

// A header of the compose window into buffer[0..size); returns its length.
size_t ReadComposeHeader(HostWindow window, const char* name, char* buffer, size_t size);
// A header of the host's current mail (the one being replied to).
size_t ReadMailHeader(const char* name, char* buffer, size_t size);

bool IsUtf8Window(HostWindow window);
// The text in UTF-8, converted by the host; "" when the host could not.
std::string HostToUtf8(const char* text);
