// The settings dialog's rules that need no window: which controls are
// enabled, and how the radio groups map to setting values.
#pragma once

#include <cstdint>

// Enabled state of the controls that depend on 1063 (address book) and
// 1048 (attachment check) and on whether their lists hold entries.
struct DialogEnableState {
    bool replyFormat;       // 1002, 1003, 1012, 1013
    bool domainList;        // 1061 and its Add, Edit, Delete (1054-1056)
    bool groupFormat;       // 1004, 1005, 1020, 1021
    bool wordsList;         // 1057 and its Add, Edit, Delete (1058-1060)
};

DialogEnableState ComputeEnableState(bool useAddrBook, bool domainsEmpty, bool inspect,
                                     bool wordsEmpty);

constexpr int kRadioCount = 4;

// Which of four radios shows a 0-3 setting: 1, 2, 3 pick their own, any
// other value the first.
int RadioIndexForValue(int32_t value);
// The setting of a four-radio group: the first checked one, none gives 0.
int32_t ValueFromRadios(const bool (&checked)[kRadioCount]);
// Reply-to-all arrangement from its two radios: "default" checked gives 0,
// else "keep To" checked gives 1, else 0.
int32_t ArrangeFromRadios(bool defaultChecked, bool keepToChecked);

#include <string>
#include <string_view>

// A resource pattern with one "%s" filled by value; every other byte is
// kept as it is, so a "%" in a user's entry or elsewhere is harmless.
std::string FillPattern(std::string_view pattern, std::string_view value);
