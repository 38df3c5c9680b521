#include "host/host_api.h"

void HostApi::Clear() { *this = HostApi(); }
