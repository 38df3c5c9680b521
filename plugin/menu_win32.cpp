// Placeholder until the menu commands land.
#include "plugin/menu.h"

int OnMenuInit(HostWindow, HostMenu, int) { return 0; }
