// A guard against a plug-in call that never returns (a dialog nobody
// answers, an endless loop): past the deadline the run is ended as failed,
// with the registry put back.
#pragma once

#include <string>

bool StartWatchdog();
// The next deadline, ms from now, for what is described.
void ArmWatchdog(unsigned ms, const std::string& what);
void DisarmWatchdog();

// Ends the run at once: prints why and "failed", restores the registry.
[[noreturn]] void AbortRun(const std::string& why);
