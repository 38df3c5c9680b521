// Native builds have no dialogs: the send check holds the message, as a
// user who closed the dialog would.
#include "outgoing/send_check_dialog.h"

int ShowSendCheckDialog(HostWindow, const SendCheckList&) { return -1; }
