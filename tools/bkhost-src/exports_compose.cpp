// The host's functions on a compose window. A code page 65001 window hands
// header values out in the ANSI code page and takes them in as UTF-8; it
// hands its text out and takes it in as UTF-8.
#include "codepage.h"
#include "host_call.h"
#include "host_exports.h"
#include "host_memory.h"
#include "transcript.h"

const char* HostCharsetName(unsigned codePage);

namespace {

// The compose window behind a handle, or nullptr with a complaint.
SComposeWindow* Window(const char* function, HWND window) {
    if (SComposeWindow* compose = TheHost().WindowOf(window)) return compose;
    Complain(std::string(function) + " got a window that is not a compose window");
    return nullptr;
}

// "Name: value" lines up to an empty line, continuation lines folded in.
void ParseSource(std::string_view source, SComposeWindow* compose) {
    compose->headers.Clear();
    std::string name, value;
    auto flush = [&] {
        if (!name.empty()) compose->headers.Set(name, value);
        name.clear();
        value.clear();
    };
    while (!source.empty()) {
        size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) break;
        if (line[0] == ' ' || line[0] == '\t') {
            value += "\r\n";
            value += line;
            continue;
        }
        flush();
        size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        name = std::string(line.substr(0, colon));
        std::string_view rest = line.substr(colon + 1);
        while (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
        value = std::string(rest);
    }
    flush();
    compose->text = std::string(source);
    compose->hasBody = true;
}

}  // namespace

extern "C" {

int WINAPI BKA_CompGetCharSet(HWND window, LPSTR charset, int size) {
    SHostCall call("BKA_CompGetCharSet");
    SComposeWindow* compose = Window("BKA_CompGetCharSet", window);
    unsigned codePage = compose ? compose->codePage : AnsiCodePage();
    CopyToBuffer("BKA_CompGetCharSet", HostCharsetName(codePage), charset, size);
    return static_cast<int>(codePage);
}

LPSTR WINAPI BKA_CompGetSource(HWND window) {
    SHostCall call("BKA_CompGetSource");
    SComposeWindow* compose = Window("BKA_CompGetSource", window);
    if (!compose) return nullptr;
    return HostHeap().Text(compose->headers.Block() + "\r\n" + compose->text);
}

void WINAPI BKA_CompSetSource(HWND window, LPCSTR source) {
    SHostCall call("BKA_CompSetSource");
    SComposeWindow* compose = Window("BKA_CompSetSource", window);
    if (!compose) return;
    if (!source) {
        Complain("BKA_CompSetSource got no source");
        return;
    }
    ParseSource(source, compose);
}

LPSTR WINAPI BKA_CompGetHeader(HWND window) {
    SHostCall call("BKA_CompGetHeader");
    SComposeWindow* compose = Window("BKA_CompGetHeader", window);
    if (!compose) return nullptr;
    return HostHeap().Text(compose->headers.Block());
}

void WINAPI BKA_CompGetSpecifiedHeader(HWND window, LPCSTR header, LPSTR buffer, int size) {
    SHostCall call("BKA_CompGetSpecifiedHeader");
    SComposeWindow* compose = Window("BKA_CompGetSpecifiedHeader", window);
    if (!header) Complain("BKA_CompGetSpecifiedHeader got no header name");
    const std::string* value = compose && header ? compose->headers.Find(header) : nullptr;
    std::string out = value ? *value : "";
    // A character the ANSI code page cannot hold comes out as '?'.
    if (compose && compose->Utf8() && value) out = Utf8ToCodePageLossy(*value, AnsiCodePage());
    CopyToBuffer("BKA_CompGetSpecifiedHeader", out, buffer, size);
}

void WINAPI BKA_CompSetSpecifiedHeader(HWND window, LPCSTR header, LPCSTR value) {
    SHostCall call("BKA_CompSetSpecifiedHeader");
    SComposeWindow* compose = Window("BKA_CompSetSpecifiedHeader", window);
    if (!compose) return;
    if (!header || !value) {
        Complain("BKA_CompSetSpecifiedHeader got no header name or no value");
        return;
    }
    compose->headers.Set(header, value);
}

LPSTR WINAPI BKA_CompGetText(HWND window, LPSTR mimeType, int size) {
    SHostCall call("BKA_CompGetText");
    SComposeWindow* compose = Window("BKA_CompGetText", window);
    if (!compose || !compose->hasBody) {
        CopyToBuffer("BKA_CompGetText", "", mimeType, size);
        return nullptr;
    }
    CopyToBuffer("BKA_CompGetText", compose->mimeType, mimeType, size);
    return HostHeap().Text(compose->text);
}

void WINAPI BKA_CompSetText(HWND window, int mode, LPCSTR text) {
    SHostCall call("BKA_CompSetText");
    SComposeWindow* compose = Window("BKA_CompSetText", window);
    if (!compose) return;
    if (!text) {
        Complain("BKA_CompSetText got no text");
        return;
    }
    if (mode != 0) {
        Complain("BKA_CompSetText mode " + std::to_string(mode) +
                 " is not simulated (0 replaces the text)");
        return;
    }
    compose->text = text;
    compose->hasBody = true;
}

void WINAPI BKA_CompAttachFile(HWND window, LPCSTR path, LPCSTR) {
    SHostCall call("BKA_CompAttachFile");
    if (!Window("BKA_CompAttachFile", window)) return;
    if (!path) Complain("BKA_CompAttachFile got no file path");
}

}  // extern "C"
