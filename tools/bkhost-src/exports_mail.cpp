// The host's functions on the current mail, the one being replied to. Its
// headers are held in the ANSI code page.
#include "codepage.h"
#include "host_call.h"
#include "host_exports.h"
#include "host_memory.h"
#include "transcript.h"

namespace {

const char* CharsetName(unsigned codePage) {
    switch (codePage) {
    case 932: return "Shift_JIS";
    case 1252: return "ISO-8859-1";
    case 50220: return "ISO-2022-JP";
    case 65001: return "UTF-8";
    case 20127: return "US-ASCII";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    default: return "x-unknown";
    }
}

}  // namespace

// Shared with the compose window's functions.
const char* HostCharsetName(unsigned codePage) { return CharsetName(codePage); }

extern "C" {

int WINAPI BKA_GetCharSet(LPCSTR, LPSTR charset, int size) {
    SHostCall call("BKA_GetCharSet");
    unsigned codePage = AnsiCodePage();
    CopyToBuffer("BKA_GetCharSet", CharsetName(codePage), charset, size);
    return static_cast<int>(codePage);
}

LPSTR WINAPI BKA_GetSource(LPCSTR) {
    SHostCall call("BKA_GetSource");
    const SHostState& host = TheHost();
    return HostHeap().Text(host.mail.Block() + "\r\n" + host.mailText);
}

void WINAPI BKA_SetSource(LPCSTR, LPCSTR source) {
    SHostCall call("BKA_SetSource");
    if (!source) Complain("BKA_SetSource got no source");
}

LPSTR WINAPI BKA_GetHeader(LPCSTR) {
    SHostCall call("BKA_GetHeader");
    return HostHeap().Text(TheHost().mail.Block());
}

LPSTR WINAPI BKA_GetText(LPSTR mimeType, int size) {
    SHostCall call("BKA_GetText");
    CopyToBuffer("BKA_GetText", "text/plain", mimeType, size);
    return HostHeap().Text(TheHost().mailText);
}

void WINAPI BKA_SetText(int mode, LPCSTR text) {
    SHostCall call("BKA_SetText");
    if (!text) {
        Complain("BKA_SetText got no text");
        return;
    }
    if (mode == 0) TheHost().mailText = text;
}

void WINAPI BKA_GetSpecifiedHeader(LPCSTR header, LPSTR buffer, int size) {
    SHostCall call("BKA_GetSpecifiedHeader");
    if (!header) {
        Complain("BKA_GetSpecifiedHeader got no header name");
        CopyToBuffer("BKA_GetSpecifiedHeader", "", buffer, size);
        return;
    }
    const std::string* value = TheHost().mail.Find(header);
    CopyToBuffer("BKA_GetSpecifiedHeader", value ? *value : "", buffer, size);
}

void WINAPI BKA_SetSpecifiedHeader(LPCSTR header, LPCSTR value) {
    SHostCall call("BKA_SetSpecifiedHeader");
    if (!header || !value) {
        Complain("BKA_SetSpecifiedHeader got no header name or no value");
        return;
    }
    TheHost().mail.Set(header, value);
}

}  // extern "C"
