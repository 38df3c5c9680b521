// The body of BKC_OnOpenCompose.
#pragma once

#include "plugin/host_api.h"

int OnOpenCompose(HostWindow window, int mode);
