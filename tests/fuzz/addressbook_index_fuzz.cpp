// The address index against the plain reference lookup on the same bytes:
// two books, three folders (one nested), their "Group.idx" files and card
// files all from the input. Every FindName and FindCard answer, for every
// address the files name and a few more, in every group folder, with both
// IgnoreCase settings, must be the reference's, and again after two index
// files changed and the index caught up with what the watcher reported.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "addressbook_reference_lookup.h"
#include "common/sizes.h"
#include "common/text.h"
#include "fuzz/support/fuzz_support.h"

namespace {

using fuzz::Check;

constexpr char kRoot[] = "AddrBook";
// Where each index piece of the input goes, and the card files beside them.
constexpr const char* kFolders[] = {"@Main\\Alpha", "@Main\\Alpha\\Sub", "^Two\\Beta"};
constexpr const char* kCardNames[] = {"a.vcf", "b.vcf"};
constexpr size_t kIndexPieces = 3;
constexpr size_t kPieces = kIndexPieces + 2 + 1;   // indexes, cards, extra queries
constexpr size_t kMaxQueries = 10;

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The address fields of an index file's records, as far as a reader finds
// them, and the lines of the extra piece.
void AddQueries(std::string_view text, std::string_view lineEnd, size_t field,
                std::vector<std::string>* queries) {
    while (!text.empty() && queries->size() < kMaxQueries) {
        const size_t end = text.find(lineEnd);
        std::string_view line = text.substr(0, end);
        for (size_t i = 0; i < field && !line.empty(); ++i) {
            const size_t tab = line.find('\t');
            line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
        }
        queries->emplace_back(line.substr(0, line.find('\t')));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + lineEnd.size());
    }
}

void CompareAnswers(SHalyardAddrBook& fast, reference::AddressBook& plain,
                    const std::vector<std::string>& queries, const std::vector<std::string>& groups) {
    for (const std::string& group : groups) {
        for (const std::string& address : queries) {
            char name[kNameSize] = "";
            std::optional<std::string> fastName;
            if (fast.FindName(address.c_str(), name, group.c_str())) fastName = name;
            Check(fastName == plain.FindName(address, group), "FindName as the reference");

            std::optional<std::string> fastCard;
            if (const auto item = fast.FindCard(address.c_str(), group.c_str()))
                fastCard = reference::DescribeItem(*item);
            Check(fastCard == plain.FindCard(address, group), "FindCard as the reference");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string_view> pieces = fuzz::Pieces(fuzz::Text(data, size), kPieces);
    fuzz::RemoveScratch(kRoot);
    std::vector<std::string> queries = {"", "@"};
    for (size_t i = 0; i < kIndexPieces; ++i) {
        const std::string folder = JoinPath(kRoot, kFolders[i]);
        fuzz::WriteScratchFile(JoinPath(folder, "Group.idx"), pieces[i]);
        for (size_t c = 0; c < 2; ++c)
            fuzz::WriteScratchFile(JoinPath(folder, kCardNames[c]), pieces[kIndexPieces + c]);
        AddQueries(pieces[i], "\r\n", 4, &queries);
    }
    AddQueries(pieces[kPieces - 1], "\n", 0, &queries);
    if (queries.size() > 2) queries.push_back(Upper(queries[2]));

    const std::string root = JoinPath(fuzz::ScratchFolder(), kRoot);
    const std::string alpha = JoinPath(root, kFolders[0]);
    // A prefix of a folder's path in other letter case picks it too.
    const std::vector<std::string> groups = {"", JoinPath(root, kFolders[1]),
                                             Upper(alpha.substr(0, alpha.size() - 2))};
    SHalyardAddrBook fast(root.c_str());
    reference::AddressBook plain(root);
    for (bool ignoreCase : {false, true}) {
        ChooseCompareAddress(ignoreCase);
        CompareAnswers(fast, plain, queries, groups);
    }

    // Two index files trade places while the book is in use: caught up from
    // the change watcher's report alone, it answers as a book read afresh.
    std::vector<platform::FolderChange> changes;
    for (size_t i : {size_t{0}, kIndexPieces - 1}) {
        const std::string path = JoinPath(JoinPath(root, kFolders[i]), "Group.idx");
        fuzz::WriteScratchFile(JoinPath(JoinPath(kRoot, kFolders[i]), "Group.idx"),
                               pieces[kIndexPieces - 1 - i]);
        changes.push_back({platform::FolderChangeKind::kModified, path});
    }
    fast.ApplyChanges(changes);
    reference::AddressBook changed(root);
    CompareAnswers(fast, changed, queries, groups);
    ChooseCompareAddress(false);
    return 0;
}
