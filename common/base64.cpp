#include "common/base64.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
constexpr char kPad = kAlphabet[64];

}  // namespace

Base64Encoder::~Base64Encoder() { delete[] output_; }

const char* Base64Encoder::Encode(const char* input, int length) {
    if (!input) length = 0;
    else if (length == -1) length = static_cast<int>(std::strlen(input));
    if (length < 0) length = 0;
    inputLength_ = length;

    delete[] output_;
    output_ = nullptr;
    // 10 + 1.5 x length always holds the 4 characters per 3 bytes, padding
    // and terminator.
    size_t n = static_cast<size_t>(length);
    output_ = new char[10 + n + n / 2];

    const auto* in = reinterpret_cast<const unsigned char*>(input);
    char* out = output_;
    size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        uint32_t v = (uint32_t{in[i]} << 16) | (uint32_t{in[i + 1]} << 8) | in[i + 2];
        *out++ = kAlphabet[(v >> 18) & 0x3F];
        *out++ = kAlphabet[(v >> 12) & 0x3F];
        *out++ = kAlphabet[(v >> 6) & 0x3F];
        *out++ = kAlphabet[v & 0x3F];
    }
    size_t rest = n - i;
    if (rest > 0) {
        uint32_t v = uint32_t{in[i]} << 16;
        if (rest == 2) v |= uint32_t{in[i + 1]} << 8;
        *out++ = kAlphabet[(v >> 18) & 0x3F];
        *out++ = kAlphabet[(v >> 12) & 0x3F];
        *out++ = rest == 2 ? kAlphabet[(v >> 6) & 0x3F] : kPad;
        *out++ = kPad;
    }
    *out = '\0';
    return output_;
}
