#include "common/host_header.h"

#include <climits>
#include <cstring>

namespace {

int HostCapacity(size_t size) {
    return size > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

// Terminates what the host wrote and tells whether it fit: a value that
// reaches the last byte before the terminator filled the buffer.
HeaderValue Measure(char* buffer, size_t size) {
    buffer[size - 1] = '\0';
    return HeaderValue{buffer, std::strlen(buffer) < size - 1};
}

}  // namespace

HeaderValue ReadComposeHeader(HostWindow window, const char* name, char* buffer, size_t size) {
    if (!buffer || size == 0) return HeaderValue{buffer, false};
    buffer[0] = '\0';
    if (Host().CompGetSpecifiedHeader)
        Host().CompGetSpecifiedHeader(window, name, buffer, HostCapacity(size));
    return Measure(buffer, size);
}

HeaderValue ReadMailHeader(const char* name, char* buffer, size_t size) {
    if (!buffer || size == 0) return HeaderValue{buffer, false};
    buffer[0] = '\0';
    if (Host().GetSpecifiedHeader) Host().GetSpecifiedHeader(name, buffer, HostCapacity(size));
    return Measure(buffer, size);
}
