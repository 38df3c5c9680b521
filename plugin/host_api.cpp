#include "plugin/host_api.h"

HostApi& Host() {
    static HostApi api;
    return api;
}

void HostApi::Clear() { *this = HostApi(); }
