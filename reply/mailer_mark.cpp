// The plug-in's mark on a message it changed.
#include <string>

#include "common/sizes.h"
#include "host/host_headers.h"
#include "host/utf8_window.h"
#include "reply/mailer_header.h"
#include "reply/rewrite.h"

void AddMailerPluginHeader(const Work& work, HostWindow window) {
    if (!work.buffers.header) return;
    const char* old =
        ReadComposeValue(work.host, window, "X-Mailer-Plugin", work.buffers.header, kListSize);
    std::string value;
    if (!BuildMailerPluginValue(old, work.fileDescription, work.fileVersion, &value)) return;
    SetComposeHeader(work.host, window, "X-Mailer-Plugin", value.c_str());
}
