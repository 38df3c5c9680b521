#include "reply/host_headers.h"

#include <climits>

namespace {

int HostCapacity(size_t size) {
    return size > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

char* ReadComposeValue(HostWindow window, const char* name, char* buffer, size_t size) {
    if (size == 0) return buffer;
    buffer[0] = '\0';
    if (Host().CompGetSpecifiedHeader)
        Host().CompGetSpecifiedHeader(window, name, buffer, HostCapacity(size));
    buffer[size - 1] = '\0';
    return buffer;
}

char* ReadMailValue(const char* name, char* buffer, size_t size) {
    if (size == 0) return buffer;
    buffer[0] = '\0';
    if (Host().GetSpecifiedHeader) Host().GetSpecifiedHeader(name, buffer, HostCapacity(size));
    buffer[size - 1] = '\0';
    return buffer;
}

const char* HostDataFolder() {
    return Host().GetDataFolder ? OrEmpty(Host().GetDataFolder()) : "";
}

const char* HostCurrentFolder() {
    return Host().GetCurrentFolder ? OrEmpty(Host().GetCurrentFolder()) : "";
}

const char* HostCurrentMailBox() {
    return Host().GetCurrentMailBox ? OrEmpty(Host().GetCurrentMailBox()) : "";
}
