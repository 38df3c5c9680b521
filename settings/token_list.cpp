#include "settings/token_list.h"

#include <cstring>

TokenList::~TokenList() { Clear(); }

void TokenList::Append(std::string_view text) {
    auto* node = new TokenNode;
    node->text = new char[text.size() + 1];
    if (!text.empty()) std::memcpy(node->text, text.data(), text.size());
    node->text[text.size()] = '\0';
    node->length = static_cast<uint32_t>(text.size());
    node->next = nullptr;
    node->prev = last_;
    if (last_) last_->next = node;
    else first_ = node;
    last_ = node;
}

void TokenList::Clear() {
    TokenNode* node = first_;
    while (node) {
        TokenNode* next = node->next;
        delete[] node->text;
        delete node;
        node = next;
    }
    first_ = last_ = nullptr;
}

void TokenList::CopyFrom(const TokenList& other) {
    if (&other == this) return;
    Clear();
    for (TokenNode* node = other.first_; node; node = node->next) {
        Append(std::string_view(node->text, node->length));
    }
}

std::string TokenList::Join() const {
    std::string joined;
    for (TokenNode* node = first_; node; node = node->next) {
        if (node != first_) joined += ',';
        joined.append(node->text, node->length);
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

void TokenList::Remove(TokenNode* node) {
    if (!node) return;
    if (node->prev) node->prev->next = node->next;
    else first_ = node->next;
    if (node->next) node->next->prev = node->prev;
    else last_ = node->prev;
    delete[] node->text;
    delete node;
}

size_t TokenList::Count() const {
    size_t count = 0;
    for (TokenNode* node = first_; node; node = node->next) ++count;
    return count;
}
