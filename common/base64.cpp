#include "common/base64.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
constexpr char kPad = kAlphabet[64];

// The value of an alphabet character, -1 for any other byte.
int DecodeChar(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

bool Base64Decode(std::string_view text, std::string* out) {
    if (text.size() % 4 != 0) return false;
    size_t padding = 0;
    if (!text.empty() && text.back() == kPad) ++padding;
    if (text.size() >= 2 && text[text.size() - 2] == kPad) ++padding;
    std::string decoded;
    decoded.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const size_t pads = last ? padding : 0;
        uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k) {
            if (k >= 4 - pads) {
                v <<= 6;
                continue;
            }
            const int d = DecodeChar(text[i + k]);
            if (d < 0) return false;
            v = (v << 6) | static_cast<uint32_t>(d);
        }
        // Bits that a padded group does not carry must be zero, so that
        // every byte string has exactly one encoding.
        if (pads == 2 && (v & 0xFFFF) != 0) return false;
        if (pads == 1 && (v & 0xFF) != 0) return false;
        decoded.push_back(static_cast<char>((v >> 16) & 0xFF));
        if (pads < 2) decoded.push_back(static_cast<char>((v >> 8) & 0xFF));
        if (pads < 1) decoded.push_back(static_cast<char>(v & 0xFF));
    }
    *out = std::move(decoded);
    return true;
}

Base64Encoder::~Base64Encoder() = default;

const char* Base64Encoder::Encode(const char* input, int length) {
    if (!input) length = 0;
    else if (length == -1) length = static_cast<int>(std::strlen(input));
    if (length < 0) length = 0;

    const size_t n = static_cast<size_t>(length);
    const auto* in = reinterpret_cast<const unsigned char*>(input);
    // Built aside: the input may be the text this encoder handed out last.
    std::string out;
    out.reserve((n + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        uint32_t v = (uint32_t{in[i]} << 16) | (uint32_t{in[i + 1]} << 8) | in[i + 2];
        out += kAlphabet[(v >> 18) & 0x3F];
        out += kAlphabet[(v >> 12) & 0x3F];
        out += kAlphabet[(v >> 6) & 0x3F];
        out += kAlphabet[v & 0x3F];
    }
    size_t rest = n - i;
    if (rest > 0) {
        uint32_t v = uint32_t{in[i]} << 16;
        if (rest == 2) v |= uint32_t{in[i + 1]} << 8;
        out += kAlphabet[(v >> 18) & 0x3F];
        out += kAlphabet[(v >> 12) & 0x3F];
        out += rest == 2 ? kAlphabet[(v >> 6) & 0x3F] : kPad;
        out += kPad;
    }
    output_ = std::move(out);
    return output_.c_str();
}
