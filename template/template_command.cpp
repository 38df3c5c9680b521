#include "template/template_command.h"

#include <cstring>
#include <limits>

#include "template/template_items.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads at most kMaxDigits decimal digits at *pos, saturating at the
// largest 32-bit value; 0 when there are none.
int32_t ReadNumber(std::string_view text, size_t limit, size_t* pos) {
    int64_t value = 0;
    size_t taken = 0;
    while (*pos < limit && taken < kMaxDigits && IsDigit(text[*pos])) {
        value = value * 10 + (text[*pos] - '0');
        if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
        ++*pos;
        ++taken;
    }
    return static_cast<int32_t>(value);
}

enum class Parse { Command, NotCommand, EndOfSearch };

// Finds the first ")" after "(" and remembers it: the candidates of one
// search come in increasing order, so the answer is reused while it lies
// beyond the next "(".
class SCloseFinder {
public:
    explicit SCloseFinder(std::string_view text) : text_(text) {}
    size_t After(size_t open) {
        if (known_ && (close_ == std::string_view::npos || close_ > open)) return close_;
        close_ = text_.find(')', open + 1);
        known_ = true;
        return close_;
    }

private:
    std::string_view text_;
    size_t close_ = std::string_view::npos;
    bool known_ = false;
};

// Parses the item list from the "$" after "(" up to close. *pos ends where
// the parse stopped.
bool ParseItems(std::string_view text, size_t close, TextCoding coding, size_t* pos,
                STemplateCommand* command) {
    // No character runs past the ")".
    const std::string_view list = text.substr(0, close);
    size_t p = *pos;
    int count = 0;
    for (;;) {
        ++p;   // the "$"
        const int32_t number = ReadNumber(text, close, &p);
        if (p >= close) {
            *pos = p;
            return false;   // an item without a letter
        }
        const char letter = text[p];
        p += NextChar(list, p, coding).length;

        STemplateItem item;
        item.number = number;
        item.suppress = (letter == 'o' || letter == 'i') ? 1 : 0;
        item.handler = HandlerForLetter(letter);
        if (letter == 'r' || letter == 's') {
            item.separatorLength = 0;
            item.separatorWidth = 0;
            item.separator[0] = '\0';
            if (p < close && text[p] != '$') {
                *pos = p;
                return false;
            }
        } else {
            const size_t begin = p;
            size_t width = 0;
            while (p < close && text[p] != '$' && text[p] != 'r') {
                // Past the limit only the separator's end matters: UTF-8 is
                // then stepped byte by byte (its sequences hold no ASCII)
                // without looking up widths.
                const bool counting = coding == TextCoding::kAnsi || width <= kMaxSeparator;
                const SCharStep step = counting ? NextChar(list, p, coding) : SCharStep{};
                width += step.width;
                p += step.length;
            }
            const size_t length = p - begin;
            if (width > kMaxSeparator || length >= kSeparatorSize) {
                *pos = p;
                return false;
            }
            memcpy(item.separator, text.data() + begin, length);
            item.separator[length] = '\0';
            item.separatorLength = static_cast<uint32_t>(length);
            item.separatorWidth = static_cast<uint32_t>(width);
            if (p < close && text[p] == 'r') {
                item.breakFlag = 1;
                ++p;
            }
        }
        command->items[count++] = item;
        // Items beyond the last kept one are ignored up to the ")".
        if (count == kMaxItems || p >= close || text[p] != '$') break;
    }
    command->itemCount = count;
    *pos = close + 1;
    return true;
}

// Parses the candidate whose keyword starts at start. *resume receives where
// the search goes on when it is not a command, *end the end of the command.
Parse ParseCandidate(std::string_view text, size_t start, TextCoding coding, SCloseFinder& closer,
                     STemplateCommand* command, size_t* resume) {
    const size_t size = text.size();
    size_t p = start + 2;
    if (p >= size) return Parse::EndOfSearch;
    // The prefix may not reach the next line; a keyword inside a rejected
    // prefix is looked at again.
    *resume = p;

    const int32_t width = ReadNumber(text, size, &p);
    const size_t prefixBegin = p;
    size_t prefixWidth = 0;
    while (p < size && text[p] != '(' && text[p] != '\n' && prefixWidth <= kMaxPrefix) {
        // An ANSI prefix is counted byte by byte.
        const SCharStep step = coding == TextCoding::kUtf8 ? NextChar(text, p, coding) : SCharStep{};
        prefixWidth += step.width;
        p += step.length;
    }
    if (p >= size || text[p] != '(' || prefixWidth > kMaxPrefix || p - prefixBegin >= kPrefixSize)
        return Parse::NotCommand;
    const size_t open = p;

    const size_t close = closer.After(open);
    if (close == std::string_view::npos) return Parse::EndOfSearch;   // none for any later one
    if (text[open + 1] != '$') {
        *resume = open + 1;
        return Parse::NotCommand;
    }

    command->width = width > 0 ? width : -1;
    command->prefixLength = static_cast<uint32_t>(open - prefixBegin);
    command->prefixWidth = static_cast<uint32_t>(prefixWidth);
    memcpy(command->prefix, text.data() + prefixBegin, command->prefixLength);
    command->prefix[command->prefixLength] = '\0';

    size_t pos = open + 1;
    if (!ParseItems(text, close, coding, &pos, command)) {
        *resume = pos;
        return Parse::NotCommand;
    }
    *resume = pos;
    return Parse::Command;
}

}  // namespace

ItemHandler HandlerForLetter(char letter) {
    switch (letter) {
    case 'O':
    case 'o': return OrganizationItem;
    case 'I':
    case 'i': return DepartmentItem;
    case 'n': return NameItem;
    case 'f': return FamilyNameItem;
    case 'l': return GivenNameItem;
    case 's': return SpaceItem;
    case 'r': return BreakItem;
    default: return nullptr;
    }
}

bool FindTemplateCommand(std::string_view text, size_t from, char keyword, TextCoding coding,
                         STemplateCommand* command, size_t* start, size_t* end) {
    const char pattern[3] = {'$', keyword, '\0'};
    SCloseFinder closer(text);
    size_t pos = from;
    while (pos < text.size()) {
        const size_t found = text.find(pattern, pos);
        if (found == std::string_view::npos) return false;
        STemplateCommand parsed;
        parsed.keyword = keyword;
        size_t resume = found + 2;
        switch (ParseCandidate(text, found, coding, closer, &parsed, &resume)) {
        case Parse::Command:
            *command = parsed;
            *start = found;
            *end = resume;
            return true;
        case Parse::EndOfSearch:
            return false;
        case Parse::NotCommand:
            pos = resume;
            break;
        }
    }
    return false;
}
