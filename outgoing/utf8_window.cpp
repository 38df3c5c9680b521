#include "outgoing/utf8_window.h"

namespace {

constexpr int kUtf8CodePage = 65001;
constexpr int kToUtf8 = 1;
constexpr size_t kCharsetNameSize = 1024;

}  // namespace

bool IsUtf8Window(HostWindow window) {
    if (!Host().CompGetCharSet) return false;
    char charset[kCharsetNameSize] = {};
    return Host().CompGetCharSet(window, charset, sizeof charset) == kUtf8CodePage;
}

std::string HostToUtf8(const char* text) {
    if (!Host().UTF_8) return {};
    HostText converted(Host().UTF_8(text, kToUtf8));
    return converted ? std::string(converted.Get()) : std::string();
}
