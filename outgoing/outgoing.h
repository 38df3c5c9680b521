// The body of BKC_OnOutgoing: 0 lets the message go, -1 stops it.
#pragma once

#include "plugin/host_api.h"

int OnOutgoing(HostWindow window, int mode);
