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
#include "outgoing/utf8_window.h"
#include "plugin/plugin_state.h"
#include "reply/host_headers.h"
#include "resources/string_ids.h"
#include "settings/settings.h"

namespace {

constexpr size_t kContentTypeSize = 2048;
constexpr size_t kMarkerHeaderSize = 4096;
constexpr size_t kMimeTypeSize = 1024;

// The byte forms to look for. A UTF-8 window hands its text out in UTF-8,
// so entries are converted; header values may come in either form, so for
// headers the entry as written is kept beside its UTF-8 form.
std::vector<std::string> EntryForms(const TokenList& list, bool utf8Window, bool keepAsWritten) {
    std::vector<std::string> forms;
    for (const TokenNode* node = list.First(); node; node = node->next) {
        if (!utf8Window || keepAsWritten) forms.emplace_back(node->text, node->length);
        if (utf8Window) {
            std::string utf8 = HostToUtf8(node->text);
            if (!utf8.empty() && (!keepAsWritten || utf8 != node->text))
                forms.push_back(std::move(utf8));
        }
    }
    return forms;
}

// A header set by software that sends on the user's behalf.
bool HasMarkerHeader(HostWindow window, const char* header) {
    char value[kMarkerHeaderSize];
    return ReadComposeHeader(window, header, value, sizeof value).text[0] != '\0';
}

bool SubjectSpeaksOfAttachment(HostWindow window, const SSettings& settings) {
    // A reply's subject repeats the base mail's; only the text is the user's.
    const std::string_view text =
        ReadComposeHeader(window, "Subject", Plugin().headerBuffer, kListSize).text;
    if (HasReplyPrefix(text)) return false;
    return ContainsAny(text, EntryForms(settings.attachWords, IsUtf8Window(window), true));
}

bool TextSpeaksOfAttachment(HostWindow window) {
    if (!Host().CompGetText) return false;
    char mimeType[kMimeTypeSize] = {};
    HostText text(Host().CompGetText(window, mimeType, sizeof mimeType));
    if (!text) return false;
    mimeType[sizeof mimeType - 1] = '\0';
    const bool html = FindNoCase(mimeType, "html") != std::string_view::npos;
    return FindAttachWord(window, text.Get(), html);
}

}  // namespace

bool HeaderExcluded(HostWindow window, const char* header, const TokenList& list) {
    if (!Plugin().headerBuffer) return false;
    const std::string_view value =
        ReadComposeHeader(window, header, Plugin().headerBuffer, kListSize).text;
    if (value.empty() || list.Empty()) return false;
    return ContainsAny(value, EntryForms(list, IsUtf8Window(window), true));
}

bool FindAttachWord(HostWindow window, std::string_view text, bool html) {
    const SSettings* settings = SSettings::Current();
    if (!settings || text.empty()) return false;
    const bool utf8 = IsUtf8Window(window);
    std::string mark = settings->citation;
    if (utf8 && !mark.empty()) {
        std::string converted = HostToUtf8(mark.c_str());
        if (!converted.empty()) mark = std::move(converted);
    }
    return FindAttachWordIn(text, EntryForms(settings->attachWords, utf8, false), mark, html);
}

int CheckAttachment(HostWindow window) {
    const SSettings* settings = SSettings::Current();
    if (!settings || !settings->inspect || !Plugin().headerBuffer) return 0;

    char contentType[kContentTypeSize];
    if (IsMultipartWithBoundary(
            ReadComposeHeader(window, "Content-Type", contentType, sizeof contentType).text))
        return 0;
    if (HasMarkerHeader(window, "X-QXE-Ident") || HasMarkerHeader(window, "X-BkDelayStatus"))
        return 0;

    if (HeaderExcluded(window, "To", settings->excludeTo) ||
        HeaderExcluded(window, "Cc", settings->excludeCc) ||
        HeaderExcluded(window, "Bcc", settings->excludeBcc) ||
        HeaderExcluded(window, "Subject", settings->excludeSubject))
        return 0;

    if (!SubjectSpeaksOfAttachment(window, *settings) && !TextSpeaksOfAttachment(window))
        return 0;

    const int answer =
        ShowStringBox(window, kStrAttachWarning, kStrAttachCaption, platform::kMbOkCancel);
    return answer == platform::kIdOk ? 0 : -1;
}
