#include "template/text_span.h"

bool AdjustSpan(STextSpan* span, size_t start, size_t oldEnd, size_t newLength,
                bool emptyFollows) {
    const bool sameEmptyPlace = span->start == start && span->end == start && oldEnd == start;
    if (span->end <= start && !(emptyFollows && sameEmptyPlace)) return true;
    if (span->start >= oldEnd) {
        span->start = span->start - oldEnd + start + newLength;
        span->end = span->end - oldEnd + start + newLength;
        return true;
    }
    if (span->start <= start && oldEnd <= span->end) {
        span->end = span->end - (oldEnd - start) + newLength;
        return true;
    }
    return false;
}

size_t FindNearest(std::string_view text, std::string_view needle, size_t near) {
    constexpr size_t kNone = std::string_view::npos;
    if (needle.empty()) return near <= text.size() ? near : kNone;
    auto distance = [near](size_t pos) { return pos > near ? pos - near : near - pos; };
    size_t best = kNone;
    for (size_t pos = text.find(needle); pos != kNone; pos = text.find(needle, pos + 1)) {
        if (best == kNone || distance(pos) < distance(best)) best = pos;
        if (pos >= near) break;   // every later one lies farther away
    }
    return best;
}
