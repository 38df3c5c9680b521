// Private-profile (INI) access for the native stand-in, with the rules of
// the Windows reader: names without regard to case, blanks around names and
// values trimmed, one pair of surrounding quotes stripped, the first of
// duplicate sections and keys wins, a value cut at size - 1.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/platform.h"
#include "common/posix_paths.h"

namespace platform {

namespace {

struct Line {
    std::string text;      // as in the file, without line end
    bool isSection = false;
    std::string name;      // section name, or key
    std::string value;
    bool hasValue = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

bool SameNoCase(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

Line ParseLine(std::string text) {
    Line line;
    line.text = std::move(text);
    std::string t = Trim(line.text);
    if (t.empty() || t[0] == ';') return line;
    if (t[0] == '[') {
        size_t close = t.find(']');
        line.isSection = true;
        line.name = Trim(std::string_view(t).substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    size_t eq = t.find('=');
    line.name = Trim(std::string_view(t).substr(0, eq));
    if (eq == std::string::npos) return line;
    std::string value = Trim(std::string_view(t).substr(eq + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
    }
    line.value = value;
    line.hasValue = true;
    return line;
}

bool ReadLines(const char* path, std::vector<Line>* lines) {
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    std::string data = all.str();
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\n', start);
        if (end == std::string::npos) end = data.size();
        std::string text = data.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines->push_back(ParseLine(std::move(text)));
        start = end + 1;
    }
    return true;
}

bool WriteLines(const char* path, const std::vector<Line>& lines) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const Line& line : lines) out << line.text << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

// Index of the first section of that name, or lines.size().
size_t FindSection(const std::vector<Line>& lines, const char* section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].isSection && SameNoCase(lines[i].name, section)) return i;
    }
    return lines.size();
}

size_t SectionEnd(const std::vector<Line>& lines, size_t sectionIndex) {
    size_t i = sectionIndex + 1;
    while (i < lines.size() && !lines[i].isSection) ++i;
    return i;
}

size_t CopyOut(const std::string& value, char* buffer, size_t size) {
    if (size == 0) return 0;
    size_t n = value.size() < size - 1 ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return n;
}

}  // namespace

size_t ProfileGetString(const char* section, const char* key, const char* fallback,
                        char* buffer, size_t size, const char* path) {
    if (!buffer || size == 0) return 0;
    std::vector<Line> lines;
    // Listing sections or keys (a null name) has no caller: it reads nothing.
    bool read = section && key && path && ReadLines(path, &lines);
    if (read) {
        size_t s = FindSection(lines, section);
        if (s < lines.size()) {
            size_t end = SectionEnd(lines, s);
            for (size_t i = s + 1; i < end; ++i) {
                if (!lines[i].name.empty() && SameNoCase(lines[i].name, key)) {
                    return CopyOut(lines[i].value, buffer, size);
                }
            }
        }
    }
    std::string def(fallback ? fallback : "");
    while (!def.empty() && IsBlank(def.back())) def.pop_back();
    return CopyOut(def, buffer, size);
}

int ProfileGetInt(const char* section, const char* key, int fallback, const char* path) {
    char buffer[64];
    size_t n = ProfileGetString(section, key, "", buffer, sizeof buffer, path);
    if (n == 0) return fallback;
    // Leading decimal digits with an optional sign; anything else reads as 0.
    const char* p = buffer;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > 0xFFFFFFFFLL) value = 0xFFFFFFFFLL;
    }
    auto result = static_cast<uint32_t>(negative ? -value : value);
    return static_cast<int>(result);
}

bool ProfileWriteString(const char* section, const char* key, const char* value,
                        const char* path) {
    // Deleting a section or a key (a null name or value) has no caller.
    if (!section || !key || !value || !path) return false;
    std::vector<Line> lines;
    ReadLines(path, &lines);
    size_t s = FindSection(lines, section);
    std::string text = std::string(key) + "=" + value;
    if (s == lines.size()) {
        lines.push_back(ParseLine(std::string("[") + section + "]"));
        lines.push_back(ParseLine(text));
        return WriteLines(path, lines);
    }
    size_t end = SectionEnd(lines, s);
    for (size_t i = s + 1; i < end; ++i) {
        if (!lines[i].name.empty() && SameNoCase(lines[i].name, key)) {
            lines[i] = ParseLine(text);
            return WriteLines(path, lines);
        }
    }
    // After the last non-blank line of the section.
    size_t at = end;
    while (at > s + 1 && Trim(lines[at - 1].text).empty()) --at;
    lines.insert(lines.begin() + at, ParseLine(text));
    return WriteLines(path, lines);
}

}  // namespace platform
