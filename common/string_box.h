// A message box whose texts come from the string table.
#pragma once

// Returns the button pressed. captionId is a string-table number.
int ShowStringBox(void* owner, unsigned textId, unsigned captionId, unsigned flags);
// The same with a fixed caption (texts the system names itself).
int ShowStringBox(void* owner, unsigned textId, const char* caption, unsigned flags);
// The plug-in's error box: caption string 13, warning icon; owner may be null.
int ShowErrorBox(void* owner, unsigned textId);
