// The file chooser's filter: a resource text with "|" between the parts,
// turned into the NUL-separated form the open-file dialog wants.
#pragma once

#include <string>
#include <string_view>

// Every "|" that is not the second byte of a double-byte character of the
// ANSI code page becomes NUL. The result keeps the input's length; a
// terminating double NUL is appended so a text without "||" still ends.
std::string OpenFileFilter(std::string_view text);
