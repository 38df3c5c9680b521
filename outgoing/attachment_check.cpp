// The attachment reminder: a message whose subject or text speaks of an
// attachment while it has none is held until the user confirms.
#include <string>
#include <vector>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "outgoing/attach_scan.h"
#include "outgoing/outgoing.h"
#include "host/host_headers.h"
#include "host/utf8_window.h"
#include "resources/string_ids.h"
#include "settings/settings.h"

namespace {

constexpr size_t kContentTypeSize = 2048;
constexpr size_t kMarkerHeaderSize = 4096;
constexpr size_t kMimeTypeSize = 1024;

// The byte forms to look for. A UTF-8 window hands its text out in UTF-8,
// so entries are converted; header values may come in either form, so for
// headers the entry as written is kept beside its UTF-8 form.
std::vector<std::string> EntryForms(const HostApi& host, const TokenList& list, bool utf8Window,
                                    bool keepAsWritten) {
    std::vector<std::string> forms;
    for (const std::string& entry : list) {
        if (!utf8Window || keepAsWritten) forms.push_back(entry);
        if (utf8Window) {
            std::string utf8 = HostToUtf8String(host, entry.c_str());
            if (!utf8.empty() && (!keepAsWritten || utf8 != entry.c_str()))
                forms.push_back(std::move(utf8));
        }
    }
    return forms;
}

// A header set by software that sends on the user's behalf.
bool HasMarkerHeader(const HostApi& host, HostWindow window, const char* header) {
    char value[kMarkerHeaderSize];
    return ReadComposeHeader(host, window, header, value, sizeof value).text[0] != '\0';
}

bool SubjectSpeaksOfAttachment(const Work& work, HostWindow window, const SSettings& settings) {
    // A reply's subject repeats the base mail's; only the text is the user's.
    const std::string_view text =
        ReadComposeHeader(work.host, window, "Subject", work.buffers.header, kListSize).text;
    if (HasReplyPrefix(text)) return false;
    return ContainsAny(
        text, EntryForms(work.host, settings.attachWords, IsUtf8Window(work.host, window), true));
}

bool TextSpeaksOfAttachment(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    if (!host.CompGetText) return false;
    char mimeType[kMimeTypeSize] = {};
    HostText text(host, host.CompGetText(window, mimeType, sizeof mimeType));
    if (!text) return false;
    mimeType[sizeof mimeType - 1] = '\0';
    const bool html = FindNoCase(mimeType, "html") != std::string_view::npos;
    return FindAttachWord(work, window, text.Get(), html);
}

}  // namespace

bool HeaderExcluded(const Work& work, HostWindow window, const char* header,
                    const TokenList& list) {
    if (!work.buffers.header) return false;
    const std::string_view value =
        ReadComposeHeader(work.host, window, header, work.buffers.header, kListSize).text;
    if (value.empty() || list.Empty()) return false;
    return ContainsAny(value, EntryForms(work.host, list, IsUtf8Window(work.host, window), true));
}

bool FindAttachWord(const Work& work, HostWindow window, std::string_view text, bool html) {
    const SSettings* settings = work.settings;
    if (!settings || text.empty()) return false;
    const bool utf8 = IsUtf8Window(work.host, window);
    std::string mark = settings->citation;
    if (utf8 && !mark.empty()) {
        std::string converted = HostToUtf8String(work.host, mark.c_str());
        if (!converted.empty()) mark = std::move(converted);
    }
    return FindAttachWordIn(text, EntryForms(work.host, settings->attachWords, utf8, false), mark,
                            html);
}

int CheckAttachment(const Work& work, HostWindow window) {
    const HostApi& host = work.host;
    const SSettings* settings = work.settings;
    if (!settings || !settings->inspect || !work.buffers.header) return 0;

    char contentType[kContentTypeSize];
    if (IsMultipartWithBoundary(
            ReadComposeHeader(host, window, "Content-Type", contentType, sizeof contentType).text))
        return 0;
    if (HasMarkerHeader(host, window, "X-QXE-Ident") ||
        HasMarkerHeader(host, window, "X-BkDelayStatus"))
        return 0;

    if (HeaderExcluded(work, window, "To", settings->excludeTo) ||
        HeaderExcluded(work, window, "Cc", settings->excludeCc) ||
        HeaderExcluded(work, window, "Bcc", settings->excludeBcc) ||
        HeaderExcluded(work, window, "Subject", settings->excludeSubject))
        return 0;

    if (!SubjectSpeaksOfAttachment(work, window, *settings) && !TextSpeaksOfAttachment(work, window))
        return 0;

    const int answer =
        ShowStringBox(window, kStrAttachWarning, kStrAttachCaption, platform::kMbOkCancel);
    return answer == platform::kIdOk ? 0 : -1;
}
