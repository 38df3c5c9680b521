// The body of a compose window as the template engine works on it: the
// window's own bytes, in the ANSI code page or in UTF-8. A UTF-8 text is
// never converted as a whole: characters the ANSI code page lacks (an emoji,
// Japanese on a Western system) would come back as '?'.
#pragma once

#include <string>

#include "host/host_api.h"
#include "template/text_width.h"

constexpr int kMimeTypeBufferSize = 1024;

struct SComposeText {
    std::string text;
    TextCoding coding = TextCoding::kAnsi;   // kUtf8 for a UTF-8 window
};

// Reads the window's body. False when there is none, when refuseHtml is set
// and the body is HTML, or when no memory is left. Every host text is
// released.
bool ReadComposeText(const HostApi& host, HostWindow window, bool refuseHtml, SComposeText* body);

// Replaces the window's whole body with text, in the window's own coding.
bool WriteComposeText(const HostApi& host, HostWindow window, const std::string& text);
