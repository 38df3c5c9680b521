// Feeds arbitrary text to the attachment scans. The first byte picks the
// citation mark and the HTML flag. Both modes are checked against plain
// restatements: a plain line is quoted when the mark occurs before its end
// with no blank before it; an HTML line when one of the ways to write the
// mark (each character raw or as a character reference, raw markup never)
// stands there. The word scan must answer as a line-by-line search with
// those answers does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/support/fuzz_support.h"
#include "outgoing/attach_scan.h"
#include "outgoing/quoted_line.h"

namespace {

using fuzz::Check;

bool StartsReference(std::string_view text) {
    for (const HtmlCharRef& ref : kHtmlCharRefs)
        if (text.substr(0, ref.name.size()) == ref.name) return true;
    return false;
}

// Whether the mark, written some way, stands at text[at]: a character as
// any reference of it, or raw unless it is markup; a raw '&' only where no
// reference begins, since a reader decodes every reference.
bool WrittenAt(std::string_view text, size_t at, std::string_view mark) {
    if (mark.empty()) return true;
    const char wanted = mark[0];
    for (const HtmlCharRef& ref : kHtmlCharRefs) {
        if (ref.value == wanted && text.substr(at, ref.name.size()) == ref.name &&
            WrittenAt(text, at + ref.name.size(), mark.substr(1)))
            return true;
    }
    if (wanted == '>' || wanted == '<' || wanted == '"') return false;
    if (at >= text.size() || text[at] != wanted) return false;
    if (wanted == '&' && StartsReference(text.substr(at))) return false;
    return WrittenAt(text, at + 1, mark.substr(1));
}

bool Quoted(std::string_view text, std::string_view mark, bool html) {
    if (text.empty() || text[0] == '\r' || text[0] == '\n') return false;
    size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    size_t at = std::string_view::npos;
    for (size_t i = 0; i < lineEnd && at == std::string_view::npos; ++i) {
        if (html ? WrittenAt(text, i, mark) : text.compare(i, mark.size(), mark) == 0) at = i;
    }
    if (at == std::string_view::npos) return false;
    // The search for a blank may run past the line's end.
    const size_t blank = text.find_first_of(" \t");
    return blank == std::string_view::npos || blank >= at;
}

bool WordOutsideQuotes(std::string_view text, const std::vector<std::string>& words,
                       std::string_view mark, bool html) {
    for (size_t start = 0; start < text.size();) {
        const size_t feed = text.find('\n', start);
        const std::string_view line = text.substr(start, feed == std::string_view::npos ? feed : feed - start);
        if (!Quoted(text.substr(start), mark, html)) {
            for (const std::string& word : words)
                if (line.find(word) != std::string_view::npos) return true;
        }
        if (feed == std::string_view::npos) break;
        start = feed + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const kMarks[] = {"> ", ">", "", "&gt;", "| ", "\x81\x84", "&"};
    const std::string_view mark = kMarks[(data[0] >> 1) % (sizeof kMarks / sizeof *kMarks)];
    const bool html = data[0] & 1;
    const std::string_view text = fuzz::Text(data + 1, size - 1);

    static const std::vector<std::string> kWords = {"attached", "send", "\x93\x59\x95\x74"};
    Check(FindAttachWordIn(text, kWords, mark, html) == WordOutsideQuotes(text, kWords, mark, html),
          "word scan as the line-by-line search");
    for (size_t start = 0; start <= text.size(); ++start) {
        if (start > 0 && text[start - 1] != '\n') continue;
        const std::string_view line = text.substr(start);
        Check(IsQuotedLine(line, mark, html) == Quoted(line, mark, html), "quoted line as restated");
    }
    return 0;
}
