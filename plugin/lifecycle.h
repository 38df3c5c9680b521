// The start and exit routines: they create and destroy every process-wide
// object of Plugin() in a fixed order.
#pragma once

#include <cstddef>

struct PluginState;

// The body of BKC_OnStart. Ends early, leaving the plug-in inactive, when
// the work buffers or the settings object cannot be made.
int StartPlugin();
// The body of BKC_OnExit: destroys what the start routine made.
int ExitPlugin();

// The library's own file path; false when it does not fit.
bool OwnModulePath(char* out, size_t outSize);

// HeaderBuffer, CopyBuffer and ResultBuffer, kListSize bytes of fixed
// global memory each: all three or none.
bool AllocateWorkBuffers(PluginState& state);
void FreeWorkBuffers(PluginState& state);
