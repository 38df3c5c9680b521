// Lines (CR LF separated) of a file of any size through a 64 KiB window.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "common/platform.h"

constexpr uint32_t kSequentialWindowSize = 65536;

class SSequentialFile {
public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit SSequentialFile(const char* path);
    virtual ~SSequentialFile();
    SSequentialFile(const SSequentialFile&) = delete;
    SSequentialFile& operator=(const SSequentialFile&) = delete;

    // The next line without its CR LF, valid until the next call; nullptr at
    // the end. A line longer than the window comes in window-sized pieces.
    const char* ReadLine();

private:
    platform::File file_;
    uint32_t windowSize_ = 0;
    char* window_ = nullptr;
    uint64_t nextOffset_ = 0;
    uint32_t windowLength_ = 0;
    uint32_t position_ = 0;
    bool atEnd_ = false;
    bool windowLoaded_ = false;
    bool splitSeparator_ = false;   // the last window ended inside a CR LF
};
