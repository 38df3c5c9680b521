// One template command turned into text: the recipients of a header run
// through the command's items.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "template/template_items.h"

struct STemplateCommand;
struct SVcardItem;

// The address-book entry of an address, or nullptr when it is not listed.
using CardLookup = std::function<std::unique_ptr<SVcardItem>(const char* address)>;

// Where a listing goes: out[0..size), terminated. startColumn: the columns
// before the command on its line. encode: how values reach the window's
// text; null for a window in the ANSI code page, where they go as they are.
struct SListingTarget {
    char* out = nullptr;
    size_t size = 0;
    size_t startColumn = 0;
    const ValueEncoder* encode = nullptr;
};

// Writes the command's prefix and the listing of the recipients in header
// (a recipient list, tokenized in place) into the target. Returns the output
// length; 0 when the items produced nothing (the prefix goes too); nullopt,
// with nothing in out, when a value could not be encoded.
std::optional<size_t> ExpandCommand(const STemplateCommand& command, char* header,
                                    const CardLookup& lookup, const SListingTarget& target);
