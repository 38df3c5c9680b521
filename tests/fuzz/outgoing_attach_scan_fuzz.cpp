// Feeds arbitrary text to the attachment scans. The first byte picks the
// citation mark and the HTML flag; plain-text answers are checked against
// the direct whole-text search.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "outgoing/attach_scan.h"
#include "outgoing/quoted_line.h"

namespace {

bool QuotedByWholeTextSearch(std::string_view text, std::string_view mark) {
    if (text.empty() || text[0] == '\r' || text[0] == '\n') return false;
    size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    const size_t at = text.find(mark);
    if (at == std::string_view::npos || at >= lineEnd) return false;
    const size_t blank = text.find_first_of(" \t");
    return blank == std::string_view::npos || blank >= at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const kMarks[] = {"> ", ">", "", "&gt;", "| ", "\x81\x84"};
    const std::string_view mark = kMarks[(data[0] >> 1) % (sizeof kMarks / sizeof *kMarks)];
    const bool html = data[0] & 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    static const std::vector<std::string> kWords = {"attached", "send", "\x93\x59\x95\x74"};
    FindAttachWordIn(text, kWords, mark, html);
    for (size_t start = 0; start <= text.size(); ++start) {
        if (start > 0 && text[start - 1] != '\n') continue;
        const std::string_view line = text.substr(start);
        const bool quoted = IsQuotedLine(line, mark, html);
        if (!html && quoted != QuotedByWholeTextSearch(line, mark)) std::abort();
    }
    return 0;
}
