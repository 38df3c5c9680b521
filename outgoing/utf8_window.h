// What a UTF-8 compose window needs: telling one apart, and converting the
// plug-in's own texts (local code page) to UTF-8 through the host.
#pragma once

#include <string>

#include "plugin/host_api.h"

bool IsUtf8Window(HostWindow window);
// The text in UTF-8, converted by the host; "" when the host could not.
std::string HostToUtf8(const char* text);
