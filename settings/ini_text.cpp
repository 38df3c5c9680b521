#include "settings/ini_text.h"

#include "common/text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Names are trimmed of blanks only, as the reader trims them: a stray CR
// inside a line belongs to the name, and a writer that dropped it would
// set a key the reader never finds.
std::string_view TrimName(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A line without its line end, trimmed.
std::string_view TrimBlanks(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return TrimName(line);
}

// The section a "[name]" line opens; false for any other line.
bool SectionLine(std::string_view line, std::string_view* name) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') return false;
    const size_t close = line.find(']');
    *name = TrimName(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

// The key a line names: what stands before its '=', or the whole line when
// it has none (the reader takes such a line as the key, with no value, and
// the system's writer gives it its value in place).
std::string_view KeyName(std::string_view line) {
    line = TrimBlanks(line);
    return TrimName(line.substr(0, line.find('=')));
}

bool KeyLine(std::string_view line, std::string_view key) { return EqualNoCaseAscii(KeyName(line), key); }

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
            std::string kept(KeyName(line));
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
