// An ordered list of texts: the list-valued settings and the recipient lists
// built while arranging a reply.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TokenList {
public:
    using const_iterator = std::vector<std::string>::const_iterator;

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
    // Both answer false for an index past the end and leave the list
    // unchanged then.
    bool ReplaceAt(size_t index, std::string_view text);
    bool RemoveAt(size_t index);

    const_iterator begin() const { return texts_.begin(); }
    const_iterator end() const { return texts_.end(); }
    bool Empty() const { return texts_.empty(); }
    size_t Count() const { return texts_.size(); }

private:
    std::vector<std::string> texts_;
};
