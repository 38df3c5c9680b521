#include "mime_codecs.h"

#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHex[] = "0123456789ABCDEF";
constexpr size_t kLineLength = 76;

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string Base64Encode(std::string_view bytes, bool lineBreaks) {
    std::string out;
    size_t lineUsed = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
        size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        if (n > 1) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (n > 2) group |= static_cast<uint8_t>(bytes[i + 2]);
        out.push_back(kAlphabet[group >> 18 & 63]);
        out.push_back(kAlphabet[group >> 12 & 63]);
        out.push_back(n > 1 ? kAlphabet[group >> 6 & 63] : '=');
        out.push_back(n > 2 ? kAlphabet[group & 63] : '=');
        lineUsed += 4;
        if (lineBreaks && lineUsed >= kLineLength) {
            out += "\r\n";
            lineUsed = 0;
        }
    }
    if (lineBreaks && lineUsed > 0) out += "\r\n";
    return out;
}

std::string Base64Decode(std::string_view text) {
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        int value = Base64Value(c);
        if (value < 0) continue;
        bits = bits << 6 | static_cast<uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<char>(bits >> count & 0xFF));
        }
    }
    return out;
}

std::string QuotedPrintableEncode(std::string_view bytes) {
    std::string out;
    size_t lineUsed = 0;
    auto put = [&](std::string_view piece) {
        if (lineUsed + piece.size() > kLineLength - 1) {
            out += "=\r\n";
            lineUsed = 0;
        }
        out += piece;
        lineUsed += piece.size();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        uint8_t b = static_cast<uint8_t>(bytes[i]);
        if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += "\r\n";
            lineUsed = 0;
            ++i;
            continue;
        }
        bool lineEnd = i + 1 == bytes.size() || bytes[i + 1] == '\r';
        bool plain = (b >= 33 && b <= 126 && b != '=') || ((b == ' ' || b == '\t') && !lineEnd);
        if (plain) {
            char c = static_cast<char>(b);
            put(std::string_view(&c, 1));
        } else {
            char encoded[3] = {'=', kHex[b >> 4], kHex[b & 15]};
            put(std::string_view(encoded, 3));
        }
    }
    return out;
}

std::string QuotedPrintableDecode(std::string_view text, bool headerForm) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (headerForm && c == '_') {
            out.push_back(' ');
        } else if (c != '=') {
            out.push_back(c);
        } else if (i + 1 < text.size() && text[i + 1] == '\n') {
            i += 1;
        } else if (i + 2 < text.size() && text[i + 1] == '\r' && text[i + 2] == '\n') {
            i += 2;
        } else if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}
