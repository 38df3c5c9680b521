#include "outgoing/compose_read.h"

#include <cstring>

namespace {

size_t Terminate(char* buffer, size_t size) {
    buffer[size - 1] = '\0';
    return std::strlen(buffer);
}

}  // namespace

size_t ReadComposeHeader(HostWindow window, const char* name, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    if (Host().CompGetSpecifiedHeader)
        Host().CompGetSpecifiedHeader(window, name, buffer, static_cast<int>(size));
    return Terminate(buffer, size);
}

size_t ReadMailHeader(const char* name, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    if (Host().GetSpecifiedHeader)
        Host().GetSpecifiedHeader(name, buffer, static_cast<int>(size));
    return Terminate(buffer, size);
}

bool IsUtf8Window(HostWindow window) {
    if (!Host().CompGetCharSet) return false;
    char charset[kCharsetNameSize] = {};
    return Host().CompGetCharSet(window, charset, sizeof charset) == kUtf8CodePage;
}

std::string HostToUtf8(const char* text) {
    if (!Host().UTF_8) return {};
    HostText converted(Host().UTF_8(text, 1));
    return converted ? std::string(converted.Get()) : std::string();
}
