// The send check's settings dialog (resource 131), opened from the
// settings dialog. Windows only.
#pragma once

#include <windows.h>

#include "settings/send_check_values.h"

class TokenList;

// Runs the dialog modally over owner on copies of values and trustedDomains;
// OK hands the user's edits back into both, Cancel leaves them as they were.
// True after OK.
bool RunSendCheckDialog(HWND owner, SendCheckValues* values, TokenList* trustedDomains);
