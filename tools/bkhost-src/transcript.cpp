#include "transcript.h"

#include <cstdio>

namespace {

int g_failures = 0;
int g_line = 0;

}  // namespace

void PrintLine(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PrintFail(int line, std::string_view expected, std::string_view got) {
    ++g_failures;
    PrintLine("FAIL line " + std::to_string(line) + ": expected " + std::string(expected) +
              " got " + std::string(got));
}

void Complain(std::string_view what) {
    ++g_failures;
    PrintLine("host: line " + std::to_string(g_line) + ": " + std::string(what));
}

void SetCurrentLine(int line) { g_line = line; }
int CurrentLine() { return g_line; }

bool RunFailed() { return g_failures > 0; }
void MarkFailed() { ++g_failures; }
int FailureCount() { return g_failures; }

std::string ShowEscaped(std::string_view utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
                out += hex;
            } else {
                out.push_back(c);
            }
        }
    }
    return out;
}
