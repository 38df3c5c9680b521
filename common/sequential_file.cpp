#include "common/sequential_file.h"

SSequentialFile::SSequentialFile(const char* path)
    : file_(platform::File::OpenRead(path, /*exclusive=*/false)) {
    if (!file_.IsOpen()) throw std::runtime_error("cannot open file");
    uint64_t size = 0;
    windowSize_ = kSequentialWindowSize;
    if (file_.Size(&size) && size < kSequentialWindowSize) windowSize_ = static_cast<uint32_t>(size);
    window_ = new char[windowSize_ + 1];
}

SSequentialFile::~SSequentialFile() { delete[] window_; }

const char* SSequentialFile::ReadLine() {
    if (atEnd_) return nullptr;
    if (!windowLoaded_) {
        uint32_t got = 0;
        if (windowSize_ == 0 || !file_.Seek(nextOffset_) || !file_.Read(window_, windowSize_, &got) ||
            got == 0) {
            atEnd_ = true;
            return nullptr;
        }
        window_[got] = '\0';
        // Only whole lines belong to this window; what follows the last
        // CR LF is read again with the next one.
        windowLength_ = got;
        for (uint32_t end = got; end >= 2; --end) {
            if (window_[end - 2] == '\r' && window_[end - 1] == '\n') {
                windowLength_ = end;
                break;
            }
        }
        // A full window without CR LF that ends in CR may have its LF in the
        // next window: leave the CR to that window, which then skips the
        // pair, so the piece before it ends the line as a CR LF would.
        const bool continuesLine = splitSeparator_;
        splitSeparator_ = false;
        if (windowLength_ == got && got == windowSize_ && got > 1 && window_[got - 1] == '\r') {
            windowLength_ = got - 1;
            window_[windowLength_] = '\0';
            splitSeparator_ = true;
        }
        nextOffset_ += windowLength_;
        position_ = 0;
        if (continuesLine && windowLength_ >= 2 && window_[0] == '\r' && window_[1] == '\n')
            position_ = 2;
        if (position_ >= windowLength_) {
            windowLoaded_ = false;
            return ReadLine();
        }
        windowLoaded_ = true;
    }

    char* line = window_ + position_;
    uint32_t i = position_;
    for (; i < windowLength_; ++i) {
        if (window_[i] == '\r' && i + 1 < windowLength_ && window_[i + 1] == '\n') {
            window_[i] = '\0';
            position_ = i + 2;
            break;
        }
    }
    // No CR LF: the rest of the window is the line, ended by the zero byte
    // after the bytes read or by the CR of the window's last CR LF.
    if (i >= windowLength_) position_ = windowLength_;
    if (position_ >= windowLength_) windowLoaded_ = false;
    return line;
}
