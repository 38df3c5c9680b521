// Native stand-in only: a Windows-style path as the POSIX system names it.
#pragma once

#include <string>

namespace platform {

// Backslashes become slashes; the second byte of a double-byte character
// of the ANSI code page is left alone.
std::string NativePath(const char* path);

}  // namespace platform
