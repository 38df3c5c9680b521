#include "header_list.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameHeaderName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

const std::string* SHeaderList::Find(std::string_view name) const {
    for (const auto& header : headers_)
        if (SameHeaderName(header.first, name)) return &header.second;
    return nullptr;
}

void SHeaderList::Set(std::string_view name, std::string_view value) {
    for (auto& header : headers_) {
        if (SameHeaderName(header.first, name)) {
            header.second.assign(value);
            return;
        }
    }
    headers_.emplace_back(std::string(name), std::string(value));
}

std::string SHeaderList::Block() const {
    std::string block;
    for (const auto& header : headers_) block += header.first + ": " + header.second + "\r\n";
    return block;
}
