#include "quillon/version_compare.h"

#include <algorithm>

bool ParseVersion(std::string_view text, std::vector<uint32_t>* parts) {
    std::vector<uint32_t> parsed;
    size_t i = 0;
    while (true) {
        size_t digits = 0;
        uint32_t value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (++digits > kVersionPartMaxDigits) return false;
            value = value * 10 + static_cast<uint32_t>(text[i] - '0');
            ++i;
        }
        if (digits == 0) return false;
        parsed.push_back(value);
        if (parsed.size() > kVersionMaxParts) return false;
        if (i == text.size()) break;
        if (text[i] != '.') return false;
        ++i;
    }
    *parts = std::move(parsed);
    return true;
}

int CompareVersions(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    const size_t n = std::max(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const uint32_t x = i < a.size() ? a[i] : 0;
        const uint32_t y = i < b.size() ? b[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}
