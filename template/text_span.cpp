#include "template/text_span.h"

bool AdjustSpan(STextSpan* span, size_t start, size_t oldEnd, size_t newLength) {
    // An empty span at start counts as before the replaced range.
    if (span->end <= start) return true;
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
