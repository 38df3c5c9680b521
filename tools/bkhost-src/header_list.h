// The headers of a mail or a compose window, in the order they were set;
// names compare without regard to ASCII case, as mail header names do.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class SHeaderList {
public:
    // nullptr when the header is absent.
    const std::string* Find(std::string_view name) const;
    void Set(std::string_view name, std::string_view value);
    const std::vector<std::pair<std::string, std::string>>& All() const { return headers_; }
    void Clear() { headers_.clear(); }

    // "Name: value" lines, each ending in CR LF.
    std::string Block() const;

private:
    std::vector<std::pair<std::string, std::string>> headers_;
};

bool SameHeaderName(std::string_view a, std::string_view b);
