// Base64 (RFC 2045 alphabet, '=' padding, no line breaks).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class Base64Encoder {
public:
    Base64Encoder() = default;
    virtual ~Base64Encoder();
    Base64Encoder(const Base64Encoder&) = delete;
    Base64Encoder& operator=(const Base64Encoder&) = delete;

    // length -1: the input is NUL-terminated. The result is owned by the
    // encoder and replaced by the next call; the input may be the previous
    // result.
    const char* Encode(const char* input, int length);

private:
    std::string output_;
};

// Strict decoding: whole groups of four, '=' only as the last one or two
// characters, no other characters, unused bits zero. False, with out
// untouched, for anything else.
bool Base64Decode(std::string_view text, std::string* out);
