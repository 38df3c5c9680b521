#include "template/template_items.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "addressbook/vcard.h"
#include "template/template_command.h"

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Absent and empty texts compare equal; bytes compare exactly.
std::string_view View(const std::optional<std::string>& text) { return FieldText(text); }

bool Present(const std::optional<std::string>& text) { return text && !text->empty(); }

// Bounded writes of one handler call. Once something does not fit, the
// whole call is dropped: the caller rolls back.
class SItemWriter {
public:
    explicit SItemWriter(SItemCall& call) : call_(call) {}

    void Put(std::string_view text) {
        if (overflow_ || text.size() >= call_.spaceLeft - used_) {
            overflow_ = true;
            return;
        }
        memcpy(call_.out + used_, text.data(), text.size());
        used_ += text.size();
    }
    void Spaces(int32_t count) {
        if (count <= 0) return;
        if (overflow_ || static_cast<size_t>(count) >= call_.spaceLeft - used_) {
            overflow_ = true;
            return;
        }
        memset(call_.out + used_, ' ', static_cast<size_t>(count));
        used_ += static_cast<size_t>(count);
    }
    void LineBreak() {
        Put(kLineBreak);
        call_.column = 0;
    }
    bool Overflow() const { return overflow_; }
    uint32_t Used() const { return static_cast<uint32_t>(used_); }

private:
    SItemCall& call_;
    size_t used_ = 0;
    bool overflow_ = false;
};

enum class ItemKind { Organization, Department, Name };

// The shared pattern of the value items: leading break, indentation, value,
// separator, trailing break.
uint32_t WriteValue(SItemCall& call, std::string_view value, ItemKind kind) {
    if (value.empty()) return 0;
    std::string encoded;
    std::string_view bytes = value;
    if (call.encode) {
        if (!(*call.encode)(value, &encoded)) {
            call.encodeFailed = true;
            return 0;
        }
        bytes = encoded;
    }
    const STemplateItem& item = *call.item;
    const std::string_view separator = item.Separator();
    const int64_t valueWidth = static_cast<int64_t>(value.size());
    const int64_t separatorWidth = item.separatorWidth;
    const bool wrapping = call.width > 0;
    const int64_t startColumn = call.column;
    SItemWriter writer(call);

    if (kind == ItemKind::Organization) {
        if (call.previous && call.column != 0 && call.written != 0) writer.LineBreak();
    } else if (kind == ItemKind::Name) {
        // Wraps even at column 0, which leaves an empty line.
        if (wrapping && call.column + valueWidth + separatorWidth > call.width)
            writer.LineBreak();
    }
    if (call.column == 0) {
        writer.Spaces(item.number);
        call.column += item.number;
    }
    writer.Put(bytes);
    call.column += valueWidth;
    if (kind != ItemKind::Name || !call.flags.lastAddress) {
        writer.Put(separator);
        call.column += separatorWidth;
    }

    bool trailingBreak = false;
    if (kind == ItemKind::Name) {
        trailingBreak = item.breakFlag && call.column != 0 && call.flags.groupChangesNext;
    } else {
        const uint8_t changed = kind == ItemKind::Organization ? call.flags.organizationChanged
                                                               : call.flags.groupChanged;
        trailingBreak = (item.breakFlag && call.column != 0 && changed) ||
                        (wrapping && call.column > call.width);
    }
    if (trailingBreak) writer.LineBreak();

    if (writer.Overflow()) {
        call.column = startColumn;
        return 0;
    }
    return writer.Used();
}

}  // namespace

uint32_t OrganizationItem(SItemCall& call) {
    if (!call.entry) return 0;
    const std::optional<std::string>& organization = call.entry->organization;
    if (call.item->suppress && call.previous && Present(call.previous->organization) &&
        View(call.previous->organization) == View(organization))
        return 0;
    return WriteValue(call, View(organization), ItemKind::Organization);
}

uint32_t DepartmentItem(SItemCall& call) {
    if (!call.entry || !Present(call.entry->organization)) return 0;
    const SVcardItem& entry = *call.entry;
    if (call.item->suppress && call.previous && Present(call.previous->organization) &&
        View(call.previous->organization) == View(entry.organization) &&
        Present(call.previous->unit) && View(call.previous->unit) == View(entry.unit))
        return 0;
    return WriteValue(call, View(entry.unit), ItemKind::Department);
}

uint32_t NameItem(SItemCall& call) {
    if (!call.entry || !call.entry->fullName) return 0;
    // A present but empty display name lists the address instead.
    const std::optional<std::string>& name = call.entry->fullName;
    return WriteValue(call, View(name->empty() ? call.entry->address : name), ItemKind::Name);
}

uint32_t FamilyNameItem(SItemCall& call) {
    if (!call.entry) return 0;
    return WriteValue(call, View(call.entry->familyName), ItemKind::Name);
}

uint32_t GivenNameItem(SItemCall& call) {
    if (!call.entry) return 0;
    return WriteValue(call, View(call.entry->givenName), ItemKind::Name);
}

uint32_t SpaceItem(SItemCall& call) {
    if (call.column == 0 || call.written == 0 || !call.entry) return 0;
    const int32_t count = call.item->number;
    uint32_t wrote = 0;
    if (count > 0 && static_cast<size_t>(count) < call.spaceLeft) {
        memset(call.out, ' ', static_cast<size_t>(count));
        wrote = static_cast<uint32_t>(count);
    }
    call.column += count;
    return wrote;
}

uint32_t BreakItem(SItemCall& call) {
    if (call.column == 0 || call.written == 0 || !call.entry || call.spaceLeft <= kLineBreak.size())
        return 0;
    memcpy(call.out, kLineBreak.data(), kLineBreak.size());
    call.column = 0;
    return static_cast<uint32_t>(kLineBreak.size());
}
