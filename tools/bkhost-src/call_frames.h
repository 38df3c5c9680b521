// The calls into the plug-in in progress on the host's thread, innermost
// last: a call made from inside a box's message loop (an on-box block)
// stands on top of the call that shows the box. Each call is a frame of the
// host's memory collector: what the host hands out during it is reclaimed
// when it returns.
#pragma once

#include <string>

class SPluginCall {
public:
    // what names the call for reports: "BKC_OnOpenCompose", "the command
    // procedure of Test Command".
    explicit SPluginCall(std::string what);
    ~SPluginCall();
    SPluginCall(const SPluginCall&) = delete;
    SPluginCall& operator=(const SPluginCall&) = delete;
};

// How many calls are in progress.
int CallDepth();
// The innermost call in progress; empty when none.
std::string CallInProgress();
// Whether the innermost call in progress is the one named.
bool InnermostCallIs(const std::string& what);
// Writes the script line and the call in progress where the wrapper can
// read them when the process ends before it could say why.
void NotePosition();

// The calling thread is the host's, the one that calls into the plug-in.
void RememberHostThread();
// Whether the caller runs on the host's thread.
bool OnHostThread();
