#include "addressbook_reference_lookup.h"

#include <cstring>

#include "addressbook/compare_address.h"
#include "addressbook/display_name.h"
#include "addressbook/halyard_addr_book.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"

namespace reference {

namespace {

constexpr size_t kFieldLimit = 1024;
constexpr size_t kCardNameLimit = 513;

std::string Text(const std::optional<std::string>& text) { return std::string(FieldText(text)); }

constexpr size_t kFieldsRead = 5;   // up to the address field

// The first fields ended by a TAB; the part after the last TAB, and the
// fields after the address, are never needed.
std::vector<std::string_view> Split(std::string_view record) {
    std::vector<std::string_view> fields;
    size_t from = 0;
    for (size_t tab; fields.size() < kFieldsRead && (tab = record.find('\t', from)) != std::string_view::npos;
         from = tab + 1)
        fields.push_back(record.substr(from, tab - from));
    return fields;
}

}  // namespace

AddressBook::AddressBook(const std::string& root) {
    platform::ListDirectory(root.c_str(), "*.*", [&](const platform::DirEntry& entry) {
        const char first = entry.name[0];
        if (!entry.isDirectory || (first != '@' && first != '^' && first != '~')) return true;
        const std::string directory = JoinPath(root, entry.name);
        char content[kPathSize] = {};
        platform::ProfileGetString("Settings", "Path", "", content, sizeof content,
                                   JoinPath(directory, "Address.ini").c_str());
        Scan(content[0] ? std::string(content) : directory);
        return true;
    });
}

void AddressBook::Scan(const std::string& path) {
    platform::ListDirectory(path.c_str(), "*.*", [&](const platform::DirEntry& entry) {
        if (!entry.isDirectory || entry.name == ".svn") return true;
        const size_t at = folders_.size();
        folders_.push_back({JoinPath(path, entry.name), 0});
        Scan(folders_[at].path);
        folders_[at].end = folders_.size();
        return true;
    });
}

const std::optional<std::string>& AddressBook::Bytes(const std::string& path) {
    auto found = files_.find(path);
    if (found != files_.end()) return found->second;
    std::optional<std::string> bytes = ReadWhole(path);
    if (bytes) bytes->resize(std::strlen(bytes->c_str()));   // the reader stops at a NUL
    return files_.emplace(path, bytes).first->second;
}

std::optional<std::string> ReadWhole(const std::string& path) {
    if (!platform::FileExists(path.c_str())) return std::nullopt;
    platform::File file = platform::File::OpenRead(path.c_str(), false);
    uint64_t size = 0;
    if (!file.IsOpen() || !file.Size(&size)) return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    uint32_t got = 0;
    if (size > 0 && (!file.Read(&bytes[0], static_cast<uint32_t>(size), &got) || got != size))
        return std::nullopt;
    return bytes;
}

bool WriteWhole(const std::string& path, std::string_view bytes) {
    platform::CreateDirectories(path.substr(0, path.rfind('\\')).c_str());
    platform::DeleteFilePath(path.c_str());
    platform::File file = platform::File::OpenAlways(path.c_str());
    return file.IsOpen() && (bytes.empty() || file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())));
}

std::optional<AddressBook::Match> AddressBook::Lookup(const std::string& indexPath,
                                                      const std::string& address, bool wantCard) {
    const std::optional<std::string>& text = Bytes(indexPath);
    if (!text) return std::nullopt;
    for (size_t start = 0; start <= text->size();) {
        const size_t end = text->find("\r\n", start);
        const std::vector<std::string_view> fields = Split(std::string_view(*text).substr(
            start, end == std::string::npos ? std::string::npos : end - start));
        if (fields.size() < kFieldsRead) return std::nullopt;
        if (fields[3].size() >= kFieldLimit || fields[4].size() >= kFieldLimit) return std::nullopt;
        if (CompareAddress(std::string(fields[4]).c_str(), address.c_str()) == 0) {
            char name[kFieldLimit];
            if (!ConvertIfUtf8(fields[3].data(), fields[3].size(), name, sizeof name))
                CopyBounded(name, sizeof name, fields[3]);
            Match match{name, {}};
            if (wantCard && fields[2].size() < kCardNameLimit && !fields[2].empty()) {
                const std::string card =
                    indexPath.substr(0, indexPath.rfind('\\') + 1) + std::string(fields[2]);
                SVCard vcard(card.c_str());
                VCardFields values;
                if (card.size() < kPathSize && vcard.Contents() && vcard.FindByAddress(address.c_str(), &values)) {
                    match.card = DescribeItem(*MakeVcardItem(values, address.c_str()));
                }
            }
            return match;
        }
        if (end == std::string::npos) return std::nullopt;
        start = end + 2;
    }
    return std::nullopt;
}

template <typename Test>
bool AddressBook::Search(const std::string& group, Test test) {
    if (!group.empty()) {
        for (size_t i = 0; i < folders_.size(); ++i) {
            const std::string& path = folders_[i].path;
            if (path.size() < group.size() || !EqualNoCaseAscii(path.substr(0, group.size()), group))
                continue;
            for (size_t j = i; j < folders_[i].end; ++j)
                if (test(folders_[j].path)) return true;
            break;
        }
    }
    for (const Folder& folder : folders_)
        if (test(folder.path)) return true;
    return false;
}

std::optional<std::string> AddressBook::FindName(const std::string& address, const std::string& group) {
    std::optional<std::string> result;
    Search(group, [&](const std::string& folder) {
        const std::string index = JoinPath(folder, "Group.idx");
        if (index.size() >= kPathSize || !Bytes(index)) return false;
        std::optional<Match> match = Lookup(index, address, false);
        if (!match || match->name.size() >= kNameSize) return false;
        char quoted[kNameSize];
        QuoteDisplayName(quoted, sizeof quoted, match->name.c_str());
        result = quoted;
        return true;
    });
    return result;
}

std::optional<std::string> AddressBook::FindCard(const std::string& address, const std::string& group) {
    std::optional<std::string> result;
    Search(group, [&](const std::string& folder) {
        const std::string index = JoinPath(folder, "Group.idx");
        if (index.size() >= kPathSize) return false;
        std::optional<Match> match = Lookup(index, address, true);
        if (!match || match->card.empty()) return false;
        result = match->card;
        return true;
    });
    return result;
}

std::string DescribeItem(const SVcardItem& item) {
    return Text(item.fullName) + "|" + Text(item.organization) + "|" + Text(item.unit) + "|" +
           Text(item.familyName) + "|" + Text(item.givenName) + "|" + Text(item.note) + "|" +
           Text(item.address);
}

}  // namespace reference
