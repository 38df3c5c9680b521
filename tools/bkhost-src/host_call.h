// Every host function begins with an SHostCall. It enforces the rules that
// hold for any host call: none inside BKC_OnPlugInInfo, and the answers of
// the folder, temp and mail functions stay valid only until the next host
// function returns. They expire on return, not on entry: the host reads its
// arguments first, so passing an answer straight to the next host function
// is legal.
#pragma once

#include <cstdint>

class SHostCall {
public:
    explicit SHostCall(const char* function);
    ~SHostCall();
    SHostCall(const SHostCall&) = delete;
    SHostCall& operator=(const SHostCall&) = delete;

private:
    const char* outer_;
    uint64_t begin_;
};

// The host function the calling thread is in ("the host" outside any).
const char* HostFunctionInProgress();
