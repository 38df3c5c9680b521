#include "host/host_headers.h"

#include <climits>

namespace {

int HostCapacity(size_t size) {
    return size > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

char* ReadComposeValue(const HostApi& host, HostWindow window, const char* name, char* buffer,
                       size_t size) {
    if (size == 0) return buffer;
    buffer[0] = '\0';
    if (host.CompGetSpecifiedHeader)
        host.CompGetSpecifiedHeader(window, name, buffer, HostCapacity(size));
    buffer[size - 1] = '\0';
    return buffer;
}

char* ReadMailValue(const HostApi& host, const char* name, char* buffer, size_t size) {
    if (size == 0) return buffer;
    buffer[0] = '\0';
    if (host.GetSpecifiedHeader) host.GetSpecifiedHeader(name, buffer, HostCapacity(size));
    buffer[size - 1] = '\0';
    return buffer;
}

const char* HostDataFolder(const HostApi& host) {
    return host.GetDataFolder ? OrEmpty(host.GetDataFolder()) : "";
}

const char* HostCurrentFolder(const HostApi& host) {
    return host.GetCurrentFolder ? OrEmpty(host.GetCurrentFolder()) : "";
}

const char* HostCurrentMailBox(const HostApi& host) {
    return host.GetCurrentMailBox ? OrEmpty(host.GetCurrentMailBox()) : "";
}
