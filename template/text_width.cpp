#include "template/text_width.h"

#include "common/platform.h"
#include "common/text.h"

SCharStep NextChar(std::string_view text, size_t pos, TextCoding coding) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char c = bytes[pos];
    if (coding == TextCoding::kAnsi) {
        const size_t length = pos + 1 < text.size() && platform::IsLeadByte(c) ? 2 : 1;
        return {length, length};
    }
    if (c < 0x80) return {1, 1};
    const size_t length = Utf8SequenceLength(bytes + pos, text.size() - pos);
    if (length == 0) return {1, kUnmappableWidth};
    const size_t ansi = platform::AnsiCharLength(text.substr(pos, length));
    return {length, ansi == 0 ? kUnmappableWidth : ansi};
}

size_t TextWidth(std::string_view text, TextCoding coding) {
    if (coding == TextCoding::kAnsi) return text.size();
    size_t width = 0;
    for (size_t pos = 0; pos < text.size();) {
        const SCharStep step = NextChar(text, pos, coding);
        width += step.width;
        pos += step.length;
    }
    return width;
}
