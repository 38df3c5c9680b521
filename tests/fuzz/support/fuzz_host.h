// One compose window of a stand-in host for the fuzz targets that drive the
// plug-in's work through the host's functions: its body, its To and Cc, its
// character set, and a count of the texts handed out and not yet freed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/work.h"

class SSettings;

namespace fuzz {

struct ComposeWindow {
    std::string body;        // UTF-8 when utf8 is set
    std::string to;
    std::string cc;
    bool utf8 = false;
    std::string mimeType = "text/plain";
    int liveTexts = 0;       // handed out, not yet freed
    int toReads = 0;         // header reads, per header
    int ccReads = 0;
};

// The window the host functions below answer for (one per process).
ComposeWindow& Window();
HostWindow WindowHandle();

// A host table over Window() and a Work with fresh buffers and default
// settings; book may be null.
class FuzzHost {
public:
    explicit FuzzHost(SHalyardAddrBook* book);
    ~FuzzHost();
    FuzzHost(const FuzzHost&) = delete;
    FuzzHost& operator=(const FuzzHost&) = delete;

    const Work& work() const { return work_; }
    const HostApi& host() const { return host_; }

private:
    HostApi host_;
    std::unique_ptr<SSettings> settings_;
    std::vector<char> header_, copy_, result_;
    Work work_;
};

}  // namespace fuzz
