// The process-wide address comparison: ASCII case-insensitive when the
// "IgnoreCase" option is on, exact otherwise. Every address equality test
// of the address book and the reply processing goes through it.
#pragma once

using AddressCompareFn = int (*)(const char* a, const char* b);

extern AddressCompareFn CompareAddress;

void ChooseCompareAddress(bool ignoreCase);
