// Whether a line of a message text is a quotation: the citation mark stands
// at its start or after a short prefix without blanks, such as the writer's
// initials ("AB> "). In HTML text the mark may be written with character
// references ("&gt; ").
#pragma once

#include <string_view>

struct HtmlCharRef {
    std::string_view name;
    char value;
};

// The references an HTML editor writes for a citation mark, tried in order.
constexpr HtmlCharRef kHtmlCharRefs[] = {
    {"&nbsp;", ' '}, {"&gt;", '>'}, {"&lt;", '<'}, {"&amp;", '&'}, {"&quot;", '"'},
};

// line: the text from the line's start to the end of the whole text; the
// line itself ends at its first CR or LF. Only the line is searched, so a
// whole message is scanned in linear time. An empty mark quotes every
// non-empty line.
bool IsQuotedLine(std::string_view line, std::string_view mark, bool html);
