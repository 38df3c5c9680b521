// SGroupIndex: one folder's "Group.idx", records of TAB-separated fields
// ended by CR LF: 2 card file, 3 display name, 4 address. The records are
// listed once when the file is read, up to the first one that would end a
// lookup; lookups then go to the records whose address hashes alike.
#include <cstring>
#include <memory>
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
constexpr size_t kFieldLimit = 1024;  // a longer name or address ends the lookup

struct ParsedRecord {
    std::string_view card, name, address;
    size_t next;   // start of the next record, or npos after the last
};

// The record at start, or false when it ends every lookup in the file (a
// missing TAB, an over-long name or address).
bool ParseRecord(std::string_view text, size_t start, ParsedRecord* out) {
    const size_t end = text.find("\r\n", start);
    const std::string_view record = text.substr(
        start, end == std::string_view::npos ? std::string_view::npos : end - start);
    // Field i lies between TAB i-1 and TAB i.
    size_t tabs[kFieldsNeeded];
    size_t from = 0;
    for (size_t t = 0; t < kFieldsNeeded; ++t) {
        const size_t tab = record.find('\t', from);
        if (tab == std::string_view::npos) return false;
        tabs[t] = tab;
        from = tab + 1;
    }
    auto field = [&](size_t i) { return record.substr(tabs[i - 1] + 1, tabs[i] - tabs[i - 1] - 1); };
    out->card = field(kCardField);
    out->name = field(kNameField);
    out->address = field(kAddressField);
    if (out->name.size() >= kFieldLimit || out->address.size() >= kFieldLimit) return false;
    out->next = end == std::string_view::npos ? std::string_view::npos : end + 2;
    return true;
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
    ListRecords();
}

SGroupIndex::~SGroupIndex() = default;

void SGroupIndex::ListRecords() {
    if (!contents_) return;
    // The text ends at the first NUL, as every lookup reads it.
    textSize_ = std::strlen(contents_);
    const std::string_view text(contents_, textSize_);
    ParsedRecord record;
    for (size_t start = 0; start <= text.size() && ParseRecord(text, start, &record);
         start = record.next) {
        records_.push_back({FoldedAddressHash(record.address), static_cast<uint32_t>(start)});
        if (record.next == std::string_view::npos) break;
    }
    records_.shrink_to_fit();
}

SVCard* SGroupIndex::LoadCard(const char* cardPath) {
    // A card that could not be read (held open, out of reach, not there yet)
    // is read again by the next look-up that wants it.
    auto found = cardCache_.find(cardPath);
    if (found != cardCache_.end() && found->second.card->Contents()) return found->second.card.get();
    CachedCard cached;
    cached.stamped = platform::GetFileStamp(cardPath, &cached.stamp);
    cached.card = std::make_unique<SVCard>(cardPath);
    SVCard* result = cached.card.get();
    cardCache_[cardPath] = std::move(cached);
    return result;
}

void SGroupIndex::ForgetChangedCards() {
    for (auto it = cardCache_.begin(); it != cardCache_.end();) {
        platform::FileStamp now;
        const bool exists = platform::GetFileStamp(it->first.c_str(), &now);
        const bool same = exists == it->second.stamped && (!exists || now == it->second.stamp);
        it = same ? std::next(it) : cardCache_.erase(it);
    }
}

bool SGroupIndex::MatchRecord(uint32_t offset, const char* address, bool wantCard) {
    ParsedRecord record;
    if (!ParseRecord(std::string_view(contents_, textSize_), offset, &record))
        return false;
    if (wantCard) CopyBounded(cardName_, sizeof cardName_, record.card.size() >= sizeof cardName_
                                                               ? std::string_view() : record.card);
    if (!ConvertIfUtf8(record.name.data(), record.name.size(), displayName_, sizeof displayName_))
        CopyBounded(displayName_, sizeof displayName_, record.name);
    CopyBounded(address_, sizeof address_, record.address);
    return CompareAddress(address_, address) == 0;
}

const char* SGroupIndex::Matched(const char* address, std::unique_ptr<SVcardItem>* card) {
    if (card) *card = MakeCard(address);
    return displayName_;
}

const char* SGroupIndex::Lookup(const char* address, std::unique_ptr<SVcardItem>* card) {
    if (card) card->reset();
    displayName_[0] = '\0';
    address_[0] = '\0';
    if (!contents_ || !address) return nullptr;
    const uint32_t hash = FoldedAddressHash(address);
    for (const Record& record : records_) {
        if (record.hash == hash && MatchRecord(record.offset, address, card != nullptr))
            return Matched(address, card);
    }
    return nullptr;
}

const char* SGroupIndex::LookupAt(const uint32_t* offsets, size_t count, const char* address,
                                  std::unique_ptr<SVcardItem>* card) {
    if (card) card->reset();
    displayName_[0] = '\0';
    address_[0] = '\0';
    if (!contents_ || !address) return nullptr;
    for (size_t i = 0; i < count; ++i) {
        if (MatchRecord(offsets[i], address, card != nullptr)) return Matched(address, card);
    }
    return nullptr;
}

std::unique_ptr<SVcardItem> SGroupIndex::MakeCard(const char* address) {
    if (!directoryFits_ || cardName_[0] == '\0') return nullptr;
    std::string path = drive_;
    path += directory_;
    path += cardName_;
    if (path.size() >= kPathSize) return nullptr;
    SVCard* vcard = LoadCard(path.c_str());
    VCardFields fields;
    if (!vcard->Contents() || !vcard->FindByAddress(address, &fields)) return nullptr;
    // Copies: the card's texts stay with the cache.
    return MakeVcardItem(fields, address);
}
