// The body of a compose window as the template engine works on it: in the
// ANSI code page, whatever the window's character set.
#pragma once

#include <string>

#include "host/host_api.h"

constexpr int kMimeTypeBufferSize = 1024;

struct SComposeText {
    std::string text;    // ANSI code page
    bool utf8 = false;   // the window holds UTF-8
};

// Reads the window's body. False when there is none, when refuseHtml is set
// and the body is HTML, when a UTF-8 body would not survive the trip through
// the ANSI code page (writing it back would lose characters), or when no
// memory is left. Every host text is released.
bool ReadComposeText(const HostApi& host, HostWindow window, bool refuseHtml, SComposeText* body);

// Replaces the window's whole body with text (ANSI code page), converted
// for a UTF-8 window.
bool WriteComposeText(const HostApi& host, HostWindow window, const std::string& text, bool utf8);
