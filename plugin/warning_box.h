// The plug-in's error boxes: no owner, warning icon, caption string 13.
#pragma once

// String-table numbers used by the frame.
constexpr unsigned kStrSenderLabel = 12;
constexpr unsigned kStrErrorCaption = 13;
constexpr unsigned kStrNoVersionInfo = 14;
constexpr unsigned kStrNoAddressBook = 15;
constexpr unsigned kStrNoSettings = 16;

// Shows the string textId of the plug-in's string table.
void ShowWarningBox(unsigned textId);
