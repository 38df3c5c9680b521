// An ordered list of texts: the list-valued settings and the recipient lists
// built while arranging a reply.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct TokenNode {
    char* text;          // own heap copy, NUL-terminated
    TokenNode* next;
    TokenNode* prev;
    uint32_t length;     // bytes, without terminator
};

class TokenList {
public:
    TokenList() = default;
    virtual ~TokenList();
    TokenList(const TokenList&) = delete;
    TokenList& operator=(const TokenList&) = delete;

    void Append(std::string_view text);
    void Clear();
    void CopyFrom(const TokenList& other);
    // Entries joined by ",", no trailing comma; the empty list gives "".
    std::string Join() const;
    // Replaces the contents by the pieces of value split at ",": runs of
    // commas count as one separator, empty pieces are dropped.
    void SplitFrom(std::string_view value);
    // Removes and frees one node of this list.
    void Remove(TokenNode* node);

    TokenNode* First() const { return first_; }
    TokenNode* Last() const { return last_; }
    bool Empty() const { return first_ == nullptr; }
    size_t Count() const;

private:
    TokenNode* first_ = nullptr;
    TokenNode* last_ = nullptr;
};
