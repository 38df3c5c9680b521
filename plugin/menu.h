// The plug-in's menu items and their command procedures.
#pragma once

#include "host/host_api.h"

int OnMenuInit(HostWindow window, HostMenu menu, int menuType);
