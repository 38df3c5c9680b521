#include "outgoing/quoted_line.h"

#include <algorithm>
#include <cstddef>

namespace {

size_t LineLength(std::string_view text) {
    const size_t end = text.find_first_of("\r\n");
    return end == std::string_view::npos ? text.size() : end;
}

// The mark matches at text[at] once references are decoded. A raw '>', '<'
// or '"' is markup, never visible text, so it breaks the match.
bool HtmlMarkAt(std::string_view text, size_t at, std::string_view mark) {
    size_t k = at;
    for (const char wanted : mark) {
        if (k >= text.size()) return false;
        char got = text[k];
        size_t step = 1;
        bool decoded = false;
        if (got == '&') {
            for (const HtmlCharRef& ref : kHtmlCharRefs) {
                if (text.compare(k, ref.name.size(), ref.name) == 0) {
                    got = ref.value;
                    step = ref.name.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded && (got == '>' || got == '<' || got == '"')) return false;
        if (got != wanted) return false;
        k += step;
    }
    return true;
}

// First offset before end where the mark starts; npos when none.
size_t FindMark(std::string_view text, size_t end, std::string_view mark, bool html) {
    if (html) {
        for (size_t at = 0; at < end; ++at)
            if (HtmlMarkAt(text, at, mark)) return at;
        return std::string_view::npos;
    }
    // The mark may start anywhere before end and run on past it.
    const size_t reach = mark.empty() ? end : std::min(text.size(), end + mark.size() - 1);
    const size_t at = text.substr(0, reach).find(mark);
    return at < end ? at : std::string_view::npos;
}

}  // namespace

bool IsQuotedLine(std::string_view line, std::string_view mark, bool html) {
    if (line.empty() || line[0] == '\r' || line[0] == '\n') return false;
    const size_t at = FindMark(line, LineLength(line), mark, html);
    if (at == std::string_view::npos) return false;
    // A blank or tab before the mark means the mark is part of the text.
    return line.substr(0, at).find_first_of(" \t") == std::string_view::npos;
}
