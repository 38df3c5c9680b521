// The plug-in's error boxes: no owner, warning icon, caption string 13.
#pragma once

#include "resources/string_ids.h"

// Shows the string textId of the plug-in's string table.
void ShowWarningBox(unsigned textId);
