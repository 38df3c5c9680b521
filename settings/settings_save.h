// Writing the settings object back to its file after the dialog's OK.
#pragma once

#include <cstddef>

class SSettings;
class TokenList;

// Makes the lists copies of their working copies and writes every option
// the dialog edits, booleans as "0"/"1". False when any write failed (the
// object holds the new values either way).
bool SaveSettings(SSettings& settings);

// Working-copy edits of the list editor. Both answer false for an index
// past the end and leave the list unchanged then.
bool ReplaceTokenAt(TokenList& list, size_t index, const char* text, size_t length);
bool RemoveTokenAt(TokenList& list, size_t index);
