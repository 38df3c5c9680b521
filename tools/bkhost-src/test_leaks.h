// Leaks the host makes on purpose (leak-for-test), so that a script can show
// that each count of the resources line sees a leak of its kind.
#pragma once

#include <string_view>

#include "process_resources.h"

// The script's kind names: handle, gdi, window, thread, kib. False for any
// other name.
bool ParseLeakKind(std::string_view name, SResourceKind* kind);
// The most a script may leak of the kind at once.
long long LeakLimit(SResourceKind kind);

// Leaks count of the kind for the rest of the process's life: events,
// brushes, hidden top-level windows, threads that wait forever, KiB of
// committed memory. False when the system refused one.
bool LeakForTest(SResourceKind kind, long long count);
