#include "addressbook/compare_address.h"

#include <cstring>

#include "common/text.h"

namespace {

int CompareExact(const char* a, const char* b) { return std::strcmp(a, b); }

}  // namespace

AddressCompareFn CompareAddress = CompareExact;

void ChooseCompareAddress(bool ignoreCase) {
    CompareAddress = ignoreCase ? CompareNoCaseAscii : CompareExact;
}
