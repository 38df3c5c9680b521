// One template command turned into text: the recipients of a header run
// through the command's items.
#pragma once

#include <cstddef>
#include <functional>

struct STemplateCommand;
struct SVcardItem;

// The address-book entry of an address (a new item the caller owns), or
// nullptr when the address is not listed.
using CardLookup = std::function<SVcardItem*(const char* address)>;

// Writes the command's prefix and the listing of the recipients in header
// (a recipient list, tokenized in place) into out[0..outSize), terminated.
// startColumn: the characters before the command on its line. Returns the
// output length; 0 when the items produced nothing (the prefix goes too).
size_t ExpandCommand(const STemplateCommand& command, char* header, const CardLookup& lookup,
                     size_t startColumn, char* out, size_t outSize);
