#include "template/compose_text.h"

#include <new>
#include <string_view>

#include "common/text.h"
#include "host/utf8_window.h"

bool ReadComposeText(const HostApi& host, HostWindow window, bool refuseHtml, SComposeText* body) {
    if (!host.CompGetCharSet || !host.CompGetText) return false;
    body->coding = IsUtf8Window(host, window) ? TextCoding::kUtf8 : TextCoding::kAnsi;

    char mimeType[kMimeTypeBufferSize] = {};
    HostText text(host, host.CompGetText(window, mimeType, kMimeTypeBufferSize));
    if (!text) return false;
    mimeType[kMimeTypeBufferSize - 1] = '\0';
    if (refuseHtml && FindNoCase(mimeType, "html") != std::string_view::npos) return false;
    try {
        body->text.assign(text.Get());
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool WriteComposeText(const HostApi& host, HostWindow window, const std::string& text) {
    if (!host.CompSetText) return false;
    host.CompSetText(window, 0, text.c_str());
    return true;
}
