// What the library's static C++ runtime must give back when the host
// unloads the library while its process goes on: the host may load and
// unload a plug-in many times in one run.
#pragma once

// Frees what the runtime keeps for the life of the library (the emergency
// buffer for exceptions). Only at an unload by FreeLibrary, as the last step.
void ReleaseStaticRuntime();
