#include "template/compose_text.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "common/text.h"
#include "host/utf8_window.h"

namespace {

size_t CountQuestionMarks(std::string_view text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '?'));
}

}  // namespace

bool ReadComposeText(const HostApi& host, HostWindow window, bool refuseHtml, SComposeText* body) {
    if (!host.CompGetCharSet || !host.CompGetText || !host.UTF_8) return false;
    body->utf8 = IsUtf8Window(host, window);

    char mimeType[kMimeTypeBufferSize] = {};
    HostText text(host, host.CompGetText(window, mimeType, kMimeTypeBufferSize));
    if (!text) return false;
    mimeType[kMimeTypeBufferSize - 1] = '\0';
    if (refuseHtml && FindNoCase(mimeType, "html") != std::string_view::npos) return false;

    try {
        if (!body->utf8) {
            body->text.assign(text.Get());
            return true;
        }
        HostText local = HostFromUtf8(host, text.Get());
        if (!local) return false;
        // Characters outside the ANSI code page come back as '?': such a
        // text cannot be written back unharmed.
        if (CountQuestionMarks(local.Get()) != CountQuestionMarks(text.Get())) return false;
        body->text.assign(local.Get());
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool WriteComposeText(const HostApi& host, HostWindow window, const std::string& text, bool utf8) {
    if (!host.CompSetText) return false;
    if (!utf8) {
        host.CompSetText(window, 0, text.c_str());
        return true;
    }
    HostText converted = HostToUtf8(host, text.c_str());
    if (!converted) return false;
    host.CompSetText(window, 0, converted.Get());
    return true;
}
