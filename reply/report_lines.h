// The lines of the unlisted-address report: "name"<TAB>address<CR><LF>.
#pragma once

#include <cstddef>
#include <string_view>

// The name field: the display name in double quotes into out[0..outSize).
// A name already between double quotes stays; one between single quotes
// gets double quotes instead; a name whose quoted form would not fit gives "".
void QuoteReportName(const char* name, char* out, size_t outSize);

// True when a line of the report names this person: its name field equals
// quotedName and its address field equals address, both ignoring letter
// case and the address fields each without one enclosing pair of angle
// brackets or parentheses. The scan ends at the first line without a CR or
// without a TAB.
bool ReportHasEntry(std::string_view contents, std::string_view quotedName,
                    std::string_view address);

// Letter case ignored for ASCII letters; double-byte characters of the ANSI
// code page compare exactly, so a trail byte is never folded.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
