// A plain restatement of the address lookup, for comparison with the
// index: it scans the books from disk, walks every folder in order and
// reads each "Group.idx" record by record, with no caching beyond one
// snapshot of the files (take a new one after changing them).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/vcard.h"

namespace reference {

class AddressBook {
public:
    explicit AddressBook(const std::string& root);

    // The quoted display name, or nullopt when not listed.
    std::optional<std::string> FindName(const std::string& address, const std::string& group);
    // The card's values as the index hands them out ("fullName|org|unit|
    // family|given|note|address"), or nullopt.
    std::optional<std::string> FindCard(const std::string& address, const std::string& group);

private:
    struct Folder {
        std::string path;
        size_t end;   // one past its last subfolder in walk order
    };
    struct Match {
        std::string name;
        std::string card;
    };
    // The first record of the file for the address, or nullopt.
    std::optional<Match> Lookup(const std::string& indexPath, const std::string& address,
                                bool wantCard);
    template <typename Test>
    bool Search(const std::string& group, Test test);
    void Scan(const std::string& path);
    const std::optional<std::string>& Bytes(const std::string& path);

    std::vector<Folder> folders_;
    std::map<std::string, std::optional<std::string>> files_;
};

// Whole files through the platform seam (paths with backslashes).
std::optional<std::string> ReadWhole(const std::string& path);
bool WriteWhole(const std::string& path, std::string_view bytes);

// How the index hands a card out, in the same shape as FindCard above.
std::string DescribeItem(const SVcardItem& item);

}  // namespace reference
