// Timing and memory figures of the running process, for the host benchmark.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Milliseconds elapsed, from QueryPerformanceCounter.
class SStopwatch {
public:
    SStopwatch() { Restart(); }
    void Restart() { QueryPerformanceCounter(&start_); }
    double Milliseconds() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

double Median(std::vector<double> values);

// Waits, pumping messages, until the process has been idle for a while
// (the plug-in's threads done with what start left them), at most maxMs.
void WaitUntilIdle(DWORD maxMs);

// Bytes of every block allocated now in the process's heaps (the C
// runtime's among them): what the program holds, whatever the heaps keep
// in reserve.
uint64_t HeapBytesInUse();

// The floors the plug-in's work is compared with, each in milliseconds: a
// bare recursive FindFirstFileA walk over the folders, and reading each file
// whole into memory.
double TimeDirectoryWalk(const std::vector<std::string>& roots, uint64_t* entries);
double TimeReadFiles(const std::vector<std::string>& paths, uint64_t* bytes);
