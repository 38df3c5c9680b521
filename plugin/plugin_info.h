// The answer to the host's plug-in information request.
#pragma once

#include <cstddef>

#include "host/host_api.h"

class SVersion;

// Copies text into out[0..outSize) with its terminator, cut when needed at a
// character boundary of the ANSI code page. Returns the bytes copied.
size_t CopyInfoText(char* out, size_t outSize, const char* text);

// Name, vendor, version and description from the version record; empty
// texts without one. Never writes past a field of the record.
void FillPlugInInfo(HostPlugInInfo* info, const SVersion* version);
