// The log of replies to addresses that are not in the address book.
#pragma once

// Appends the token's name and address to the report file unless the same
// person is already there. Failures are shown to the user.
void ReportMissingAddress(const char* reportFile, const char* token);
