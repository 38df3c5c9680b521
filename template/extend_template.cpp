#include "template/extend_template.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "addressbook/addr_book_refresh.h"
#include "addressbook/halyard_addr_book.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "host/host_headers.h"
#include "host/utf8_window.h"
#include "resources/string_ids.h"
#include "template/compose_text.h"
#include "template/template_command.h"

namespace {

// The address group of the current mail folder; "" when it cannot be told.
std::string GroupHint(const HostApi& host, const SHalyardAddrBook& book) {
    const std::string dataFolder = HostDataFolder(host);
    const std::string mailFolder = HostCurrentFolder(host);
    if (dataFolder.empty() || mailFolder.empty()) return std::string();
    try {
        return book.ResolveFolderGroup(dataFolder.c_str(), mailFolder.c_str());
    } catch (...) {
        return std::string();
    }
}

// Looks recipients up in the address index; without one nobody is listed.
CardLookup MakeLookup(const Work& work) {
    RefreshAddressBook(work);
    SHalyardAddrBook* book = work.addrBook;
    if (!book) return nullptr;
    std::string group = GroupHint(work.host, *book);
    return [book, group](const char* address) { return book->FindCard(address, group.c_str()); };
}

// Columns before start on its line.
size_t StartColumn(std::string_view text, size_t start, TextCoding coding) {
    if (start == 0) return 0;
    const size_t lineFeed = text.rfind('\n', start - 1);
    const size_t lineStart = lineFeed == std::string_view::npos ? 0 : lineFeed + 1;
    return TextWidth(text.substr(lineStart, start - lineStart), coding);
}

// A UTF-8 window gets each value of a listing converted by the host on its
// own; the text around the listing is never converted.
ValueEncoder Utf8Encoder(const HostApi& host) {
    return [&host](std::string_view value, std::string* out) {
        const std::string local(value);   // the host takes terminated texts
        HostText converted = HostToUtf8(host, local.c_str());
        if (!converted) return false;
        out->assign(converted.Get());
        return true;
    };
}

// The next command of keyword at or after from that lies wholly in text
// that no expansion of this run wrote. written is sorted by position.
bool FindOutsideWritten(const SComposeText& body, size_t from, char keyword,
                        const std::vector<STextSpan>& written, STemplateCommand* command,
                        size_t* start, size_t* end) {
    const std::string& text = body.text;
    auto findIn = [&](size_t begin, size_t limit) {
        const std::string_view piece(text.data() + begin, limit - begin);
        if (!FindTemplateCommand(piece, 0, keyword, body.coding, command, start, end)) return false;
        *start += begin;
        *end += begin;
        return true;
    };
    size_t segment = from;
    for (const STextSpan& span : written) {
        if (span.end <= segment) continue;
        // Even an empty output separates the text before it from the text after.
        if (span.start > segment && findIn(segment, span.start)) return true;
        segment = span.end;
    }
    return segment < text.size() && findIn(segment, text.size());
}

// Records that text[start, oldEnd) became an output of outputLength.
void NoteWritten(std::vector<STextSpan>* written, size_t start, size_t oldEnd, size_t outputLength) {
    const auto before = std::partition_point(written->begin(), written->end(),
                                             [start](const STextSpan& span) { return span.start <= start; });
    const size_t index = static_cast<size_t>(before - written->begin());
    for (STextSpan& span : *written) AdjustSpan(&span, start, oldEnd, outputLength);
    written->insert(written->begin() + static_cast<std::ptrdiff_t>(index),
                    STextSpan{start, start + outputLength});
}

}  // namespace

SExtendTemplate::SExtendTemplate() = default;

SExtendTemplate::~SExtendTemplate() = default;

SExtendTemplate::ExpandResult SExtendTemplate::ExpandOne(const Work& work, HostWindow window, SComposeText* body,
                                const STemplateCommand& command, size_t start, size_t end,
                                const CardLookup& lookup, size_t* outputLength) {
    char* output = work.buffers.result;
    const HeaderValue header = ReadComposeHeader(work.host, window,
                                                 command.keyword == 't' ? "To" : "Cc",
                                                 work.buffers.header, kListSize);
    // A listing of a header the host may have cut would miss recipients
    // without a sign: the command stays in the text.
    if (!header.whole) return ExpandResult::kLeft;
    const ValueEncoder encoder =
        body->coding == TextCoding::kUtf8 ? Utf8Encoder(work.host) : ValueEncoder();
    SListingTarget target;
    target.out = output;
    target.size = kListSize;
    target.startColumn = StartColumn(body->text, start, body->coding);
    target.encode = encoder ? &encoder : nullptr;
    const std::optional<size_t> listed = ExpandCommand(command, header.text, lookup, target);
    // Local bytes in a UTF-8 text would reach the recipient as garbage.
    if (!listed) return ExpandResult::kFailed;
    const size_t length = *listed;

    std::string next;
    std::string commandText;
    try {
        next.reserve(body->text.size() - (end - start) + length);
        next.append(body->text, 0, start).append(output, length).append(body->text, end);
        commandText.assign(body->text, start, end - start);
    } catch (const std::bad_alloc&) {
        ShowStringBox(window, kStrNoMemoryForWork, kStrTemplateErrorCaption, platform::kMbOk);
        return ExpandResult::kFailed;
    }
    if (!WriteComposeText(work.host, window, next)) return ExpandResult::kFailed;
    body->text.swap(next);
    undo_.Record(window, command.keyword, std::move(commandText), std::string(output, length), start, end);
    *outputLength = length;
    return ExpandResult::kExpanded;
}

bool SExtendTemplate::ExpandTemplates(const Work& work, HostWindow window) {
    if (!work.buffers.header || !work.buffers.result || !work.host.CompGetSpecifiedHeader)
        return false;
    try {
        SComposeText body;
        if (!ReadComposeText(work.host, window, true, &body)) return false;
        const CardLookup lookup = MakeLookup(work);
        // What this run wrote is never searched again, so an output that
        // itself reads as a command (a name like "$t($n)") stays as it is.
        std::vector<STextSpan> written;
        bool expanded = false;
        for (const char keyword : {'t', 'c'}) {
            size_t from = 0;
            STemplateCommand command;
            size_t start = 0;
            size_t end = 0;
            while (FindOutsideWritten(body, from, keyword, written, &command, &start, &end)) {
                size_t length = 0;
                const ExpandResult result =
                    ExpandOne(work, window, &body, command, start, end, lookup, &length);
                // What was written before stays written: the text changed.
                if (result == ExpandResult::kFailed) return expanded;
                if (result == ExpandResult::kLeft) {
                    from = end;
                    continue;
                }
                expanded = true;
                NoteWritten(&written, start, end, length);
                from = start + length;
            }
        }
        return expanded;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SExtendTemplate::UndoTemplates(const HostApi& host, HostWindow window) {
    try {
        SComposeText body;
        if (!ReadComposeText(host, window, false, &body)) return false;
        SWindowEntry* entry = undo_.Find(window);
        if (!entry) return false;
        // The records stay until the text is back: an undo refused, or one
        // that could not be written, can be asked for again.
        const SExpandData* records[2] = {entry->cc.get(), entry->to.get()};
        // The latest expansion first: each restores the text the one before left.
        if (records[0] && records[1] && records[1]->sequence > records[0]->sequence)
            std::swap(records[0], records[1]);
        STextSpan spans[2];
        for (int i = 0; i < 2; ++i)
            if (records[i]) spans[i] = records[i]->span;

        bool restored = false;
        for (int i = 0; i < 2; ++i) {
            const SExpandData* record = records[i];
            if (!record) continue;
            const std::string& output = record->Output();
            // The listing where it was written, or where the user's typing
            // before it has moved it to.
            const size_t at = FindNearest(body.text, output, spans[i].start);
            if (at == std::string::npos) {
                // The listing itself was edited: restoring the command would
                // throw the user's changes away.
                ShowStringBox(window, kStrTemplateEdited, kStrTemplateErrorCaption, platform::kMbIconWarning);
                return false;
            }
            body.text.replace(at, output.size(), record->Command());
            restored = true;
            // The other record's place is a hint only: kept when this
            // replacement cut into it.
            if (i == 0 && records[1])
                AdjustSpan(&spans[1], at, at + output.size(), record->Command().size(),
                           record->otherFollows);
        }
        if (!restored || !WriteComposeText(host, window, body.text)) return false;
        undo_.Remove(window);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void SExtendTemplate::ForgetWindow(HostWindow window) { undo_.Remove(window); }
