#include "host/host_headers.h"

#include "host/guarded_call.h"

#include <climits>
#include <cstring>

namespace {

int HostCapacity(size_t size) {
    return size > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

// Terminates what the host wrote and tells whether it fit: a value that
// reaches the last byte before the terminator filled the buffer.
HeaderValue Measure(char* buffer, size_t size) {
    buffer[size - 1] = '\0';
    return HeaderValue{buffer, std::strlen(buffer) < size - 1};
}

}  // namespace

HeaderValue ReadComposeHeader(const HostApi& host, HostWindow window, const char* name,
                              char* buffer, size_t size) {
    if (!buffer || size == 0) return HeaderValue{buffer, false};
    buffer[0] = '\0';
    if (host.CompGetSpecifiedHeader)
        host.CompGetSpecifiedHeader(window, name, buffer, HostCapacity(size));
    return Measure(buffer, size);
}

HeaderValue ReadMailHeader(const HostApi& host, const char* name, char* buffer, size_t size) {
    if (!buffer || size == 0) return HeaderValue{buffer, false};
    buffer[0] = '\0';
    if (host.GetSpecifiedHeader) host.GetSpecifiedHeader(name, buffer, HostCapacity(size));
    return Measure(buffer, size);
}

namespace {

// A folder the host names, copied before anything else reaches the host;
// "" when it answers nothing or fails raising.
std::string GuardedFolder(const char*(HALYARD_WINAPI* ask)()) {
    if (!ask) return std::string();
    struct Ask {
        const char*(HALYARD_WINAPI* ask)();
        const char* answer;
        void operator()() { answer = ask(); }
    } call{ask, nullptr};
    return CallGuarded(call) ? std::string(OrEmpty(call.answer)) : std::string();
}

}  // namespace

std::string HostDataFolder(const HostApi& host) { return GuardedFolder(host.GetDataFolder); }

std::string HostCurrentFolder(const HostApi& host) { return GuardedFolder(host.GetCurrentFolder); }

std::string HostCurrentMailBox(const HostApi& host) { return GuardedFolder(host.GetCurrentMailBox); }

HostText SerializeRecipients(const HostApi& host, const char* addresses) {
    if (!host.SerializeRcpts) return HostText();
    struct Ask {
        char*(HALYARD_WINAPI* ask)(const char*);
        const char* addresses;
        char* answer;
        void operator()() { answer = ask(addresses); }
    } call{host.SerializeRcpts, addresses, nullptr};
    return CallGuarded(call) ? HostText(host, call.answer) : HostText();
}
