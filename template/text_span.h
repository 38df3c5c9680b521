// A range of a compose text that an expansion wrote, and how it moves when
// another part of the text is replaced.
#pragma once

#include <cstddef>

struct STextSpan {
    size_t start = 0;
    size_t end = 0;   // one past the last character
};

// Moves span to where its characters are after text[start, oldEnd) was
// replaced by newLength characters. A span containing the replaced range
// grows or shrinks with it. False when the replacement cut into the span
// from one side: its characters are gone.
bool AdjustSpan(STextSpan* span, size_t start, size_t oldEnd, size_t newLength);
