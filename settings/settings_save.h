// Writing the settings object back to its file after the dialog's OK.
#pragma once

class SSettings;

// Makes the lists copies of their working copies and writes every option
// the dialog edits, booleans as "0"/"1". False when any write failed (the
// object holds the new values either way).
bool SaveSettings(SSettings& settings);
