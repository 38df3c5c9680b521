#include "outgoing/attach_scan.h"

#include "common/text.h"
#include "outgoing/quoted_line.h"

bool ContainsAny(std::string_view text, const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns)
        if (!pattern.empty() && text.find(pattern) != std::string_view::npos) return true;
    return false;
}

bool FindAttachWordIn(std::string_view text, const std::vector<std::string>& words,
                      std::string_view mark, bool html) {
    size_t start = 0;
    while (start < text.size()) {
        const std::string_view rest = text.substr(start);
        const size_t feed = rest.find('\n');
        const std::string_view line = rest.substr(0, feed);
        if (!IsQuotedLine(rest, mark, html) && ContainsAny(line, words)) return true;
        if (feed == std::string_view::npos) break;
        start += feed + 1;
    }
    return false;
}

bool HasReplyPrefix(std::string_view subject) {
    return subject.size() >= 3 && EqualNoCaseAscii(subject.substr(0, 3), "Re:");
}

bool IsMultipartWithBoundary(std::string_view contentType) {
    return contentType.find("multipart") != std::string_view::npos &&
           contentType.find("boundary") != std::string_view::npos;
}
