// The start and exit routines: they create and destroy every process-wide
// object of Plugin() in a fixed order.
#pragma once

// The body of BKC_OnStart. Ends early, leaving the plug-in inactive, when
// the work buffers or the settings object cannot be made.
int StartPlugin();
// The body of BKC_OnExit: destroys what the start routine made.
int ExitPlugin();
