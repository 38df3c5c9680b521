// The log of replies to addresses that are not in the address book.
#pragma once

// Appends the token's name and address to the report file unless the same
// person is already there. Answers 0, or the string number of the failure,
// which the caller shows once the list it is working on is written.
unsigned AppendMissingAddress(const char* reportFile, const char* token);
// The same, showing a failure at once.
void ReportMissingAddress(const char* reportFile, const char* token);
// The box that tells of a failed report.
void ShowReportFailure(unsigned failure);
