// Placeholder until the reply processing lands.
#include "reply/open_compose.h"

int OnOpenCompose(HostWindow, int) { return 0; }
