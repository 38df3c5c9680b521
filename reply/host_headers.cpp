#include "reply/host_headers.h"

namespace {

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

const char* HostDataFolder() {
    return Host().GetDataFolder ? OrEmpty(Host().GetDataFolder()) : "";
}

const char* HostCurrentFolder() {
    return Host().GetCurrentFolder ? OrEmpty(Host().GetCurrentFolder()) : "";
}

const char* HostCurrentMailBox() {
    return Host().GetCurrentMailBox ? OrEmpty(Host().GetCurrentMailBox()) : "";
}
