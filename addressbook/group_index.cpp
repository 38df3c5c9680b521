// SGroupIndex: one folder's "Group.idx", records of TAB-separated fields
// ended by CR LF: 2 card file, 3 display name, 4 address.
#include <cstring>
#include <string_view>

#include "addressbook/address_book.h"
#include "addressbook/compare_address.h"
#include "common/platform.h"
#include "common/text.h"

namespace {

constexpr size_t kFieldsNeeded = 5;   // TABs a record must hold
constexpr size_t kCardField = 2;
constexpr size_t kNameField = 3;
constexpr size_t kAddressField = 4;

// Length of the directory part of path (up to and including its last
// separator), aware of double-byte characters.
size_t DirectoryEnd(std::string_view path) {
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/') {
            end = i + 1;
        }
    }
    return end;
}

}  // namespace

SGroupIndex::SGroupIndex(const char* indexPath) : SSmallFile(indexPath) {
    std::string_view path(indexPath ? indexPath : "");
    if (path.size() >= 2 && path[1] == ':') {
        CopyBounded(drive_, sizeof drive_, path.substr(0, 2));
        path.remove_prefix(2);
    }
    std::string_view directory = path.substr(0, DirectoryEnd(path));
    // A directory that does not fit leaves cards unreachable rather than
    // pointing at another folder.
    directoryFits_ = directory.size() < sizeof directory_;
    if (directoryFits_) CopyBounded(directory_, sizeof directory_, directory);
}

SGroupIndex::~SGroupIndex() = default;

SVCard* SGroupIndex::LoadCard(const char* cardPath) {
    auto found = cardCache_.find(cardPath);
    if (found != cardCache_.end()) return found->second.get();
    auto card = std::make_unique<SVCard>(cardPath);
    SVCard* result = card.get();
    cardCache_.emplace(cardPath, std::move(card));
    return result;
}

const char* SGroupIndex::Lookup(const char* address, SVcardItem** card) {
    if (card) *card = nullptr;
    displayName_[0] = '\0';
    address_[0] = '\0';
    if (!contents_ || !address) return nullptr;
    const std::string_view text(contents_, std::strlen(contents_));
    if (FindNoCase(text, address) == std::string_view::npos) return nullptr;

    size_t recordStart = 0;
    while (recordStart <= text.size()) {
        size_t recordEnd = text.find("\r\n", recordStart);
        std::string_view record = text.substr(
            recordStart, recordEnd == std::string_view::npos ? std::string_view::npos
                                                             : recordEnd - recordStart);
        // Field i lies between TAB i-1 and TAB i.
        size_t tabs[kFieldsNeeded];
        size_t from = 0;
        for (size_t t = 0; t < kFieldsNeeded; ++t) {
            size_t tab = record.find('\t', from);
            if (tab == std::string_view::npos) return nullptr;
            tabs[t] = tab;
            from = tab + 1;
        }
        auto field = [&](size_t i) {
            return record.substr(tabs[i - 1] + 1, tabs[i] - tabs[i - 1] - 1);
        };
        if (card) {
            std::string_view cardName = field(kCardField);
            if (cardName.size() >= sizeof cardName_) cardName = {};
            CopyBounded(cardName_, sizeof cardName_, cardName);
        }
        std::string_view name = field(kNameField);
        if (name.size() >= sizeof displayName_) return nullptr;
        if (!ConvertIfUtf8(name.data(), name.size(), displayName_, sizeof displayName_))
            CopyBounded(displayName_, sizeof displayName_, name);
        std::string_view stored = field(kAddressField);
        if (stored.size() >= sizeof address_) return nullptr;
        CopyBounded(address_, sizeof address_, stored);

        if (CompareAddress(address_, address) == 0) {
            if (card) *card = MakeCard(address);
            return displayName_;
        }
        if (recordEnd == std::string_view::npos) return nullptr;
        recordStart = recordEnd + 2;
    }
    return nullptr;
}

SVcardItem* SGroupIndex::MakeCard(const char* address) {
    if (!directoryFits_ || cardName_[0] == '\0') return nullptr;
    std::string path = drive_;
    path += directory_;
    path += cardName_;
    if (path.size() >= kPathSize) return nullptr;
    SVCard* vcard = LoadCard(path.c_str());
    VCardFields fields;
    if (!vcard->Contents() || !vcard->FindByAddress(address, &fields)) return nullptr;
    auto* item = new SVcardItem;
    item->fullName = CopyLocalText(fields.fullName);
    item->address = CopyLocalText(address);
    item->organization = CopyLocalText(fields.organization);
    item->unit = CopyLocalText(fields.unit);
    item->familyName = CopyLocalText(fields.familyName);
    item->givenName = CopyLocalText(fields.givenName);
    item->note = CopyLocalText(fields.note);
    return item;
}
