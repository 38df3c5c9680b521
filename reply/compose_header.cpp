// Writing headers of a compose window, and the plug-in's mark on a message
// it changed.
#include <string>

#include "common/sizes.h"
#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "reply/host_headers.h"
#include "reply/mailer_header.h"
#include "reply/plugin_version.h"
#include "reply/rewrite.h"

namespace {

constexpr size_t kCharsetNameSize = 256;
constexpr int kCodePageUtf8 = 65001;
constexpr int kToUtf8 = 1;

}  // namespace

void SetComposeHeader(HostWindow window, const char* headerName, const char* text) {
    HostApi& host = Host();
    if (!host.CompSetSpecifiedHeader || !text) return;
    char charset[kCharsetNameSize] = {};
    const int codePage = host.CompGetCharSet
        ? host.CompGetCharSet(window, charset, static_cast<int>(sizeof charset)) : 0;
    if (codePage != kCodePageUtf8 || text[0] == '\0') {
        host.CompSetSpecifiedHeader(window, headerName, text);
        return;
    }
    // A UTF-8 window takes UTF-8; local bytes would reach the recipient as
    // garbage, so a failed conversion leaves the header as it is.
    if (!host.UTF_8) return;
    HostText converted(host.UTF_8(text, kToUtf8));
    if (converted) host.CompSetSpecifiedHeader(window, headerName, converted.Get());
}

void AddMailerPluginHeader(HostWindow window) {
    PluginState& state = Plugin();
    if (!state.headerBuffer) return;
    const char* old =
        ReadComposeHeader(window, "X-Mailer-Plugin", state.headerBuffer, kListSize).text;
    std::string value;
    if (!BuildMailerPluginValue(old, PluginFileDescription(), PluginFileVersion(), &value))
        return;
    SetComposeHeader(window, "X-Mailer-Plugin", value.c_str());
}
