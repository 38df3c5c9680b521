#include "settings/support_link.h"

#include "common/platform.h"

namespace {

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '.' || c == '_' || c == '~';
}

void AppendEncoded(std::string* out, std::string_view utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    for (char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (Unreserved(c)) {
            *out += ch;
        } else {
            *out += '%';
            *out += kHex[c >> 4];
            *out += kHex[c & 0x0F];
        }
    }
}

}  // namespace

std::string SupportMailLink(std::string_view address, std::string_view subject) {
    std::string link = "mailto:";
    link.append(address);
    link += "?subject=";
    AppendEncoded(&link, platform::AnsiToUtf8(subject));
    return link;
}
