// Looking and checking: print what the host holds, compare it with what the
// script expects.
#include "codepage.h"
#include "file_ops.h"
#include "host_state.h"
#include "host_windows.h"
#include "message_boxes.h"
#include "runner.h"
#include "transcript.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Lines of a compose text split at CR LF; a text ending in CR LF shows an
// empty last line, as the body block writes it. Stray CR and LF are shown
// as escapes.
std::vector<std::string> BodyLines(const std::string& utf8) {
    std::vector<std::string> lines;
    if (utf8.empty()) return lines;
    std::string line;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8.compare(i, 2, "\r\n") == 0) {
            lines.push_back(line);
            line.clear();
            ++i;
        } else if (utf8[i] == '\r') {
            line += "\\r";
        } else if (utf8[i] == '\n') {
            line += "\\n";
        } else {
            line.push_back(utf8[i]);
        }
    }
    lines.push_back(line);
    return lines;
}

// Lines of a file split at LF (a CR before it dropped); a final line end
// adds no empty line, as the file block writes it.
std::vector<std::string> FileLines(const std::string& utf8) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        std::string line = utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::string Quoted(const std::string& utf8) { return "\"" + ShowEscaped(utf8) + "\""; }

}  // namespace

bool SRunner::Check(const SScriptCommand& command, bool* handled) {
    *handled = true;
    const std::string& name = command.name;
    const std::vector<std::string>& args = command.args;
    SHostState& host = TheHost();
    unsigned ansi = AnsiCodePage();
    std::string header, value, held, expected;

    if (name == "print" || name == "expect") {
        if (name == "print") header = args[0];
        else SplitNamedValue(args[0], &header, &value);
        std::string headerName;
        if (!Text(command, header, false, ansi, &headerName)) return false;
        const std::string* found = host.compose.headers.Find(headerName);
        std::string shown = found ? HeldToUtf8(*found) : "";
        std::string line = header + ":" + (shown.empty() ? "" : " " + shown);
        if (name == "print") {
            PrintLine(line);
            return true;
        }
        if (!Text(command, value, false, HeldCodePage(), &expected)) return false;
        std::string got = found ? *found : "";
        if (got != expected)
            PrintFail(command.line, header + ":" + (value.empty() ? "" : " " + value), line);
        return true;
    }
    if (name == "print-body") {
        if (!host.compose.hasBody) return true;
        for (const std::string& line : BodyLines(HeldToUtf8(host.compose.text))) PrintLine("| " + line);
        return true;
    }
    if (name == "print-file") {
        std::string path = Path(args[0]);
        std::string bytes;
        if (!ReadFileBytes(path, &bytes)) {
            PrintFail(command.line, "a file " + args[0], "none");
            return true;
        }
        std::string utf8 = bytes.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0
                               ? bytes.substr(kUtf8Bom.size())
                               : Printable(bytes);
        for (const std::string& line : FileLines(utf8)) PrintLine("| " + line);
        return true;
    }
    if (name == "expect-result") {
        long long want = 0;
        ParseInteger(args[0], &want);
        if (!lastResult_) PrintFail(command.line, args[0], "no call");
        else if (*lastResult_ != want) PrintFail(command.line, args[0], std::to_string(*lastResult_));
        return true;
    }
    if (name == "expect-box" || name == "expect-no-box") {
        std::vector<std::string> shown = TakeShownBoxes();
        std::string all;
        for (const std::string& text : shown) all += (all.empty() ? "a box " : ", ") + Quoted(text);
        if (all.empty()) all = "no box";
        if (name == "expect-no-box") {
            if (!shown.empty()) PrintFail(command.line, "no box", all);
            return true;
        }
        bool seen = false;
        for (const std::string& text : shown) seen = seen || text == args[0];
        if (!seen) PrintFail(command.line, "a box " + Quoted(args[0]), all);
        return true;
    }
    if (name == "expect-body") {
        if (!Block(command, HeldCodePage(), true, &expected)) return false;
        if (!host.compose.hasBody) {
            PrintFail(command.line, "the text " + Quoted(HeldToUtf8(expected)), "no text");
        } else if (host.compose.text != expected) {
            PrintFail(command.line, "the text " + Quoted(HeldToUtf8(expected)),
                      Quoted(HeldToUtf8(host.compose.text)));
        }
        return true;
    }
    if (name == "expect-file") {
        if (!Block(command, ansi, false, &expected)) return false;
        std::string bytes;
        if (!ReadFileBytes(Path(args[0]), &bytes)) {
            PrintFail(command.line, "a file " + args[0] + " holding " + Quoted(Printable(expected)),
                      "none");
        } else if (bytes != expected) {
            PrintFail(command.line, "a file " + args[0] + " holding " + Quoted(Printable(expected)),
                      Quoted(Printable(bytes)));
        }
        return true;
    }
    if (name == "expect-no-file") {
        if (PathExists(Path(args[0]))) PrintFail(command.line, "no file " + args[0], "one");
        return true;
    }
    if (name == "expect-sender-view") {
        std::string shown = WindowTextUtf8(host.senderWindow);
        if (shown != args[0]) PrintFail(command.line, "sender-view: " + args[0], "sender-view: " + shown);
        return true;
    }
    if (name == "expect-info") {
        SplitNamedValue(args[0], &header, &value);
        if (!infoFields_) {
            PrintFail(command.line, args[0], "no info");
            return true;
        }
        static const char* const kFields[] = {"name", "vendor", "version", "description"};
        for (size_t i = 0; i < 4; ++i) {
            if (header != kFields[i]) continue;
            const std::string& got = (*infoFields_)[i];
            if (got != value) PrintFail(command.line, args[0], header + ": " + got);
        }
        return true;
    }
    if (name == "expect-menu") {
        SplitNamedValue(args[0], &header, &value);
        long long type = 0;
        ParseInteger(header, &type);
        auto found = menus_.find(static_cast<int>(type));
        if (found == menus_.end()) {
            PrintFail(command.line, "menu " + args[0], "no menu " + header + " set up");
        } else if (found->second != value) {
            PrintFail(command.line, "menu " + args[0],
                      "menu " + header + ":" + (found->second.empty() ? "" : " " + found->second));
        }
        return true;
    }
    *handled = false;
    return true;
}
