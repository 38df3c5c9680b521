#include "settings/ini_text.h"

#include "common/text.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// The section a "[name]" line opens; false for any other line.
bool SectionLine(std::string_view line, std::string_view* name) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') return false;
    const size_t close = line.find(']');
    *name = TrimBlanks(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

bool KeyLine(std::string_view line, std::string_view key) {
    const size_t equals = line.find('=');
    return equals != std::string_view::npos && EqualNoCaseAscii(TrimBlanks(line.substr(0, equals)), key);
}

}  // namespace

void SetIniValue(std::string* text, std::string_view section, std::string_view key,
                 std::string_view value) {
    std::string entry(key);
    entry.append("=").append(value).append("\r\n");
    bool inSection = false;
    size_t insertAt = std::string::npos;   // after the section's last non-blank line
    for (size_t start = 0; start < text->size();) {
        size_t end = text->find('\n', start);
        end = end == std::string::npos ? text->size() : end + 1;
        const std::string_view line(text->data() + start, end - start);
        std::string_view name;
        if (SectionLine(line, &name)) {
            if (inSection) break;
            inSection = EqualNoCaseAscii(name, section);
            if (inSection) insertAt = end;
        } else if (inSection && KeyLine(line, key)) {
            // The key keeps the name it has in the file.
            std::string kept(TrimBlanks(line.substr(0, line.find('='))));
            kept.append("=").append(value).append("\r\n");
            text->replace(start, end - start, kept);
            return;
        } else if (inSection && !TrimBlanks(line).empty()) {
            insertAt = end;
        }
        start = end;
    }
    auto endLine = [&](size_t at) {
        if (at > 0 && (*text)[at - 1] != '\n') {
            text->insert(at, "\r\n");
            return at + 2;
        }
        return at;
    };
    if (insertAt != std::string::npos) {
        text->insert(endLine(insertAt), entry);
        return;
    }
    std::string added = "[";
    added.append(section).append("]\r\n").append(entry);
    text->insert(endLine(text->size()), added);
}
