#include "host/utf8_window.h"

namespace {

constexpr HostBool kToUtf8 = 1;

}  // namespace

bool IsUtf8Window(const HostApi& host, HostWindow window) {
    if (!host.CompGetCharSet) return false;
    char charset[kCharSetBufferSize] = {};
    return host.CompGetCharSet(window, charset, kCharSetBufferSize) == kUtf8CodePage;
}

HostText HostToUtf8(const HostApi& host, const char* text) {
    if (!host.UTF_8 || !text) return HostText();
    return HostText(host, host.UTF_8(text, kToUtf8));
}

std::string HostToUtf8String(const HostApi& host, const char* text) {
    HostText converted = HostToUtf8(host, text);
    return converted ? std::string(converted.Get()) : std::string();
}

void SetComposeHeader(const HostApi& host, HostWindow window, const char* headerName,
                      const char* text) {
    if (!host.CompSetSpecifiedHeader || !text) return;
    if (!IsUtf8Window(host, window) || text[0] == '\0') {
        host.CompSetSpecifiedHeader(window, headerName, text);
        return;
    }
    HostText converted = HostToUtf8(host, text);
    if (converted) host.CompSetSpecifiedHeader(window, headerName, converted.Get());
}
