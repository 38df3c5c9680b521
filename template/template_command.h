// The template command parser: finds "$t" / "$c" commands in a compose text
// and reads their width, prefix and item list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "template/text_width.h"

struct SItemCall;

// Limits in columns (ANSI bytes); the fields hold the bytes of the window's
// text, which in UTF-8 take up to kMaxBytesPerColumn per column.
constexpr size_t kMaxPrefix = 79;
constexpr size_t kPrefixSize = kMaxPrefix * kMaxBytesPerColumn + 1;          // and a terminator
constexpr size_t kMaxSeparator = 30;
constexpr size_t kSeparatorSize = kMaxSeparator * kMaxBytesPerColumn + 2;    // terminator, spare
constexpr size_t kMaxDigits = 31;         // digits taken for a width or a number
constexpr int kMaxItems = 16;

// Writes one item for one address; returns the number of bytes written.
using ItemHandler = uint32_t (*)(SItemCall& call);

// One parsed item: "$", optional digits, a letter, a separator.
struct STemplateItem {
    int32_t number = 0;            // indentation, or a count of spaces for "s"
    uint8_t suppress = 0;          // "o" and "i": skip what the previous address shared
    char separator[kSeparatorSize] = " ";
    uint32_t separatorLength = 1;  // bytes
    uint32_t separatorWidth = 1;   // columns
    uint8_t breakFlag = 0;         // the separator was ended by "r"
    ItemHandler handler = nullptr; // none for an unknown letter

    std::string_view Separator() const { return {separator, separatorLength}; }
};

// One parsed command.
struct STemplateCommand {
    char keyword = 0;              // 't' (To) or 'c' (Cc)
    char prefix[kPrefixSize] = {};
    uint32_t prefixLength = 0;     // bytes
    uint32_t prefixWidth = 0;      // columns
    int32_t width = -1;            // -1: no wrapping
    int itemCount = 0;
    STemplateItem items[kMaxItems];

    std::string_view Prefix() const { return {prefix, prefixLength}; }
};

// Finds the first command of keyword ('t' or 'c') that starts at or after
// from in text, which is coded as coding says (the command syntax is ASCII;
// prefix and separators keep the text's bytes). On success *start and *end
// delimit the command text (from the "$" through the closing ")") and
// *command holds the parse.
bool FindTemplateCommand(std::string_view text, size_t from, char keyword, TextCoding coding,
                         STemplateCommand* command, size_t* start, size_t* end);

// The handler for an item letter, or nullptr for a letter outside "OIoinflsr".
ItemHandler HandlerForLetter(char letter);
