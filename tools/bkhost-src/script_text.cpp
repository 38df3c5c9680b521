#include "script_text.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct SVariable {
    std::string_view name;
    const std::string SScriptPaths::*path;
};

constexpr SVariable kVariables[] = {
    {"%DATA%", &SScriptPaths::data},
    {"%PLUGINS%", &SScriptPaths::plugins},
    {"%APPDATA%", &SScriptPaths::appdata},
    {"%COMMONDATA%", &SScriptPaths::commondata},
};

}  // namespace

void SScriptText::AddText(std::string_view utf8) {
    if (utf8.empty()) return;
    if (pieces_.empty() || pieces_.back().raw) pieces_.push_back(STextPiece{false, {}});
    pieces_.back().bytes.append(utf8);
}

void SScriptText::AddRaw(char byte) {
    if (pieces_.empty() || !pieces_.back().raw) pieces_.push_back(STextPiece{true, {}});
    pieces_.back().bytes.push_back(byte);
}

void SScriptText::DropFinalLineEnd() {
    if (pieces_.empty() || pieces_.back().raw) return;
    std::string& last = pieces_.back().bytes;
    if (last.size() >= 2 && last.compare(last.size() - 2, 2, "\r\n") == 0) {
        last.resize(last.size() - 2);
        if (last.empty()) pieces_.pop_back();
    }
}

std::string SScriptText::Utf8() const {
    std::string all;
    for (const STextPiece& piece : pieces_) all += piece.bytes;
    return all;
}

bool ExpandScriptText(std::string_view in, bool escapes, const SScriptPaths& paths,
                      SScriptText* out, std::string* error) {
    size_t textStart = 0;
    size_t i = 0;
    auto flush = [&](size_t end) { out->AddText(in.substr(textStart, end - textStart)); };
    while (i < in.size()) {
        char c = in[i];
        if (c == '%') {
            bool matched = false;
            for (const SVariable& variable : kVariables) {
                if (in.substr(i, variable.name.size()) == variable.name) {
                    flush(i);
                    out->AddText(paths.*variable.path);
                    i += variable.name.size();
                    textStart = i;
                    matched = true;
                    break;
                }
            }
            if (!matched) ++i;
            continue;
        }
        if (c != '\\' || !escapes) {
            ++i;
            continue;
        }
        flush(i);
        if (i + 1 >= in.size()) {
            *error = "a backslash ends the text (write \\\\ for one backslash)";
            return false;
        }
        char e = in[i + 1];
        switch (e) {
        case 't': out->AddText("\t"); i += 2; break;
        case 'r': out->AddText("\r"); i += 2; break;
        case 'n': out->AddText("\n"); i += 2; break;
        case '\\': out->AddText("\\"); i += 2; break;
        case 'x': {
            int high = i + 2 < in.size() ? HexDigit(in[i + 2]) : -1;
            int low = i + 3 < in.size() ? HexDigit(in[i + 3]) : -1;
            if (high < 0 || low < 0) {
                *error = "\\x needs two hexadecimal digits";
                return false;
            }
            out->AddRaw(static_cast<char>(high * 16 + low));
            i += 4;
            break;
        }
        default:
            *error = std::string("unknown escape \\") + e + " (write \\\\ for one backslash)";
            return false;
        }
        textStart = i;
    }
    flush(in.size());
    return true;
}

bool ExpandBlock(const std::vector<std::string>& lines, const SScriptPaths& paths,
                 SScriptText* out, std::string* error) {
    for (const std::string& line : lines) {
        size_t backslashes = 0;
        while (backslashes < line.size() && line[line.size() - 1 - backslashes] == '\\')
            ++backslashes;
        bool joined = backslashes % 2 == 1;
        std::string_view content(line);
        if (joined) content.remove_suffix(1);
        if (!ExpandScriptText(content, true, paths, out, error)) return false;
        if (!joined) out->AddText("\r\n");
    }
    return true;
}
