// A range of a compose text that an expansion wrote, how it moves when
// another part of the text is replaced, and how it is found again once the
// user has edited around it.
#pragma once

#include <cstddef>
#include <string_view>

struct STextSpan {
    size_t start = 0;
    size_t end = 0;   // one past the last character
};

// Moves span to where its characters are after text[start, oldEnd) was
// replaced by newLength characters. A span containing the replaced range
// grows or shrinks with it. False when the replacement cut into the span
// from one side: its characters are gone. An empty span at start counts as
// before the replaced range; when that range is empty too, the two stand at
// one place and only the caller knows their order: emptyFollows puts the
// span after it.
bool AdjustSpan(STextSpan* span, size_t start, size_t oldEnd, size_t newLength,
                bool emptyFollows = false);

// The start of the occurrence of needle in text that starts nearest to
// near, the earlier one of two as near; npos when there is none. An empty
// needle stands at near as long as near lies inside the text.
size_t FindNearest(std::string_view text, std::string_view needle, size_t near);
