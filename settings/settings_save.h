// Writing the settings object back to its file after the dialog's OK.
#pragma once

class SSettings;

// Makes the lists copies of their working copies and writes every option
// the dialog edits, booleans as "0"/"1", into a complete new settings file
// that then replaces the old one. False when that could not be done: the
// old file is left as it was, and the object holds the new values.
bool SaveSettings(SSettings& settings);
