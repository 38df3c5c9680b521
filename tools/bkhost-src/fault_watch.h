// Faults inside the plug-in, each reported with the call it came from:
// first-chance access violations on memory the host made inaccessible
// (caught before any handler, since some system functions such as
// lstrcpynA swallow them), crashes nothing handled, and a C++ exception
// that left the plug-in (its runtime then aborts the process).
#pragma once

#include <string>

bool WatchFaults();

// " in BKC_OnOpenCompose", " in a thread of the plug-in", ...: where the
// calling thread is, for reports ("the plug-in" + WhereInPlugin()).
std::string WhereInPlugin();
