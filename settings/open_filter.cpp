#include "settings/open_filter.h"

#include "common/platform.h"

std::string OpenFileFilter(std::string_view text) {
    std::string filter(text);
    for (size_t i = 0; i < filter.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(filter[i]);
        if (platform::IsLeadByte(c)) {
            ++i;   // the trail byte may be 0x7C and is part of the character
        } else if (c == '|') {
            filter[i] = '\0';
        }
    }
    filter.append(2, '\0');
    return filter;
}
