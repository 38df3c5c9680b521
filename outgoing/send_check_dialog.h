// The send check's dialog: one list view of the rows, the warnings, Send
// (enabled once every outside row is ticked) and Cancel.
#pragma once

#include "host/work.h"

struct SendCheckList;

// 0 for Send, -1 for Cancel, Esc or the window closed.
int ShowSendCheckDialog(HostWindow owner, const SendCheckList& list);

