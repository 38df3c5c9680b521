#include "settings/token_list.h"

TokenList::~TokenList() = default;

void TokenList::Append(std::string_view text) { texts_.emplace_back(text); }

void TokenList::Clear() { texts_.clear(); }

void TokenList::CopyFrom(const TokenList& other) {
    if (&other != this) texts_ = other.texts_;
}

std::string TokenList::Join() const {
    std::string joined;
    for (const std::string& text : texts_) {
        if (&text != &texts_.front()) joined += ',';
        joined += text;
    }
    return joined;
}

void TokenList::SplitFrom(std::string_view value) {
    Clear();
    size_t start = 0;
    while (start < value.size()) {
        size_t end = value.find(',', start);
        if (end == std::string_view::npos) end = value.size();
        if (end > start) Append(value.substr(start, end - start));
        start = end + 1;
    }
}

bool TokenList::ReplaceAt(size_t index, std::string_view text) {
    if (index >= texts_.size()) return false;
    texts_[index].assign(text.data(), text.size());
    return true;
}

bool TokenList::RemoveAt(size_t index) {
    if (index >= texts_.size()) return false;
    texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}
