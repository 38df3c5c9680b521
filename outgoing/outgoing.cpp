// Placeholder until the outgoing inspection lands.
#include "outgoing/outgoing.h"

int OnOutgoing(HostWindow, int) { return 0; }
