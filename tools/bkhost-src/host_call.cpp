#include "host_call.h"

#include <string>

#include "call_frames.h"
#include "host_memory.h"
#include "transcript.h"

namespace {

thread_local const char* t_function = nullptr;

}  // namespace

SHostCall::SHostCall(const char* function) : outer_(t_function), begin_(HostHeap().Sequence()) {
    t_function = function;
    // Some host functions crash the real host there.
    if (OnHostThread() && InnermostCallIs("BKC_OnPlugInInfo"))
        Complain(std::string(function) + " was called inside BKC_OnPlugInInfo");
}

SHostCall::~SHostCall() {
    // The outermost host function only: one that the host calls itself
    // belongs to the plug-in's call.
    if (!outer_) HostHeap().ExpireAnswers(begin_);
    t_function = outer_;
}

const char* HostFunctionInProgress() { return t_function ? t_function : "the host"; }
