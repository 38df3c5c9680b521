// The address-book generator: folders first (a tree per book), then the
// contacts dealt out over the folders, then each folder's index and cards
// written with the faults that real books carry.
#include "bench/book_generator.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "common/platform.h"
#include "common/text.h"

namespace {

constexpr size_t kMaxFolderPath = 180;     // leaves room for "\Group.idx" and card names
constexpr int kMaxDepth = 4;
constexpr size_t kLongField = 1100;        // past the 1023 bytes a name or address may hold
constexpr size_t kLongCardName = 600;      // past the 512 bytes a card name may hold

struct Book {
    const char* directory;   // below "AddrBook"
    bool outside;            // content stored outside "AddrBook"
    uint32_t share;          // percent of the folders
};
constexpr Book kBooks[] = {{"@Main", false, 60}, {"@Company", true, 30}, {"~Shared", false, 10}};
constexpr char kOutsideFolder[] = "CompanyBook";

constexpr const char* kFolderWords[] = {"Friends", "Family", "Clients", "Suppliers", "Sales",
                                        "Engineering", "Support", "Partners", "Press", "Board",
                                        "Research", "Legal", "Finance", "Club", "School"};
constexpr const char* kGiven[] = {"Ann", "Bob", "Carl", "Dora", "Emil", "Fay", "Gus", "Hana",
                                  "Ivan", "Jill", "Karl", "Lena", "Max", "Nora", "Otto", "Pia"};
constexpr const char* kFamily[] = {"Smith", "Jones", "Brown", "Miller", "Davis", "Garcia",
                                   "Wilson", "Moore", "Taylor", "Clark", "Lewis", "Young"};
// Japanese family and given names: Shift_JIS and UTF-8 bytes of the same
// text, and an ASCII reading for the address.
struct JapaneseName {
    const char* sjis;
    const char* utf8;
    const char* reading;
};
constexpr JapaneseName kJapaneseFamily[] = {
    {"\x93\x63\x92\x86", "\xE7\x94\xB0\xE4\xB8\xAD", "tanaka"},
    {"\x97\xE9\x96\xD8", "\xE9\x88\xB4\xE6\x9C\xA8", "suzuki"},
    {"\x8D\xB2\x93\xA1", "\xE4\xBD\x90\xE8\x97\xA4", "sato"},
    {"\x8D\x82\x8B\xB4", "\xE9\xAB\x98\xE6\xA9\x8B", "takahashi"},
    {"\x93\x6E\x95\xD3", "\xE6\xB8\xA1\xE8\xBE\xBA", "watanabe"},
    {"\x8E\x52\x96\x7B", "\xE5\xB1\xB1\xE6\x9C\xAC", "yamamoto"},
};
constexpr JapaneseName kJapaneseGiven[] = {
    {"\x91\xBE\x98\x59", "\xE5\xA4\xAA\xE9\x83\x8E", "taro"},
    {"\x89\xD4\x8E\x71", "\xE8\x8A\xB1\xE5\xAD\x90", "hanako"},
    {"\x88\xEA\x98\x59", "\xE4\xB8\x80\xE9\x83\x8E", "ichiro"},
    {"\x94\xFC\x8D\xE7", "\xE7\xBE\x8E\xE5\x92\xB2", "misaki"},
};
constexpr const char* kCompanies[] = {"Acme Corp", "Globex", "Initech", "Umbrella Ltd",
                                      "Stark Industries", "Wayne Enterprises", "Hooli"};
constexpr const char* kUnits[] = {"Sales", "Research", "Support", "Accounting", "Board"};
constexpr const char* kDomains[] = {"example.com", "example.org", "example.net", "example.co.jp"};

template <typename T, size_t N>
const T& Pick(BenchRandom& random, const T (&items)[N]) {
    return items[random.Below(N)];
}

struct Folder {
    std::string path;
    size_t book = 0;
    int depth = 0;
    std::vector<std::string> records;
};

struct Contact {
    std::string name;       // display name as stored
    std::string family, given;
    std::string address;    // as stored
};

bool WriteWhole(const std::string& path, std::string_view bytes, GeneratedBook* out) {
    platform::DeleteFilePath(path.c_str());
    platform::File file = platform::File::OpenAlways(path.c_str());
    if (!file.IsOpen()) return false;
    ++out->files;
    return bytes.empty() || file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

Contact MakeContact(BenchRandom& random, int number) {
    Contact contact;
    std::string reading;
    const uint32_t kind = random.Below(100);
    if (kind < 25) {   // Japanese, Shift_JIS or UTF-8 as different hosts wrote it
        const JapaneseName& family = Pick(random, kJapaneseFamily);
        const JapaneseName& given = Pick(random, kJapaneseGiven);
        const bool utf8 = kind < 10;
        contact.family = utf8 ? family.utf8 : family.sjis;
        contact.given = utf8 ? given.utf8 : given.sjis;
        contact.name = contact.family + contact.given;
        reading = std::string(given.reading) + "." + family.reading;
    } else {
        contact.family = Pick(random, kFamily);
        contact.given = Pick(random, kGiven);
        reading = Lower(contact.given) + "." + Lower(contact.family);
        if (kind < 30) {
            contact.name = contact.family + ", " + contact.given;   // quoted on output
        } else if (kind < 31) {
            contact.name = "";
        } else {
            contact.name = contact.given + " " + contact.family;
        }
    }
    contact.address = reading + std::to_string(number) + "@" + Pick(random, kDomains);
    if (random.Chance(3)) contact.address[0] = static_cast<char>(std::toupper(contact.address[0]));
    return contact;
}

std::string CardText(BenchRandom& random, const Contact& contact) {
    std::string card = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    card += "FN:" + (contact.name.empty() ? contact.given : contact.name) + "\r\n";
    card += "N:" + contact.family + ";" + contact.given + ";;;\r\n";
    card += std::string("ORG:") + Pick(random, kCompanies) + ";" + Pick(random, kUnits) + "\r\n";
    const uint32_t kind = random.Below(100);
    const char* email = kind < 60 ? "EMAIL;PREF:" : kind < 70 ? "EMAIL;TYPE=PREF:"
                        : kind < 95 ? "EMAIL:" : "EMAIL;INTERNET:";
    card += email + contact.address + "\r\n";
    if (random.Chance(20)) card += "NOTE:met at the fair\r\n";
    card += "END:VCARD\r\n";
    return card;
}

std::string Record(BenchRandom& random, std::string_view card, std::string_view name,
                   std::string_view address) {
    std::string record = std::to_string(random.Below(100000)) + "\t0\t";
    record += card;
    record += '\t';
    record += name;
    record += '\t';
    record += address;
    record += "\t0\r\n";
    return record;
}

void MakeFolders(BenchRandom& random, const std::string& dataFolder, int count,
                 std::vector<std::string>* bookPaths, std::vector<Folder>* folders) {
    const std::string root = JoinPath(dataFolder, "AddrBook");
    for (const Book& book : kBooks)
        bookPaths->push_back(book.outside ? JoinPath(dataFolder, kOutsideFolder)
                                          : JoinPath(root, book.directory));
    for (int i = 0; i < count; ++i) {
        Folder folder;
        const uint32_t roll = random.Below(100);
        folder.book = i == 0 ? 0 : roll < kBooks[0].share ? 0 : roll < 90 ? 1 : 2;
        std::string parent = (*bookPaths)[folder.book];
        const std::string name = std::string(Pick(random, kFolderWords)) + " " + std::to_string(i);
        if (!folders->empty() && random.Chance(40)) {
            const Folder& candidate = (*folders)[random.Below(static_cast<uint32_t>(folders->size()))];
            if (candidate.book == folder.book && candidate.depth < kMaxDepth &&
                candidate.path.size() + name.size() + 1 < kMaxFolderPath) {
                parent = candidate.path;
                folder.depth = candidate.depth + 1;
            }
        }
        folder.path = JoinPath(parent, name);
        folders->push_back(std::move(folder));
    }
}

// The folder's records with its faults, joined.
std::string IndexText(BenchRandom& random, std::vector<std::string> records) {
    auto insertAnywhere = [&](std::string record) {
        records.insert(records.begin() + random.Below(static_cast<uint32_t>(records.size()) + 1),
                       std::move(record));
    };
    if (random.Chance(4)) insertAnywhere("broken\tline\twithout enough\tfields\r\n");
    if (random.Chance(2))
        insertAnywhere(Record(random, "long.vcf", std::string(kLongField, 'N'), "long@example.com"));
    if (random.Chance(2))
        insertAnywhere(Record(random, std::string(kLongCardName, 'c'), "Long Card", "longcard@example.com"));
    std::string text;
    for (const std::string& record : records) text += record;
    if (!text.empty() && random.Chance(10)) text.resize(text.size() - 2);   // last line without CR LF
    return text;
}

}  // namespace

bool GenerateAddressBook(const std::string& dataFolder, const BookShape& shape, GeneratedBook* out,
                         const std::string& hostDataFolder) {
    BenchRandom random(shape.seed);
    *out = GeneratedBook{};
    out->root = JoinPath(dataFolder, "AddrBook");
    std::vector<std::string> bookPaths;
    std::vector<Folder> folders;
    MakeFolders(random, dataFolder, shape.folders < 1 ? 1 : shape.folders, &bookPaths, &folders);
    auto hostPath = [&](const std::string& path) {
        return hostDataFolder.empty() ? path
                                      : JoinPath(hostDataFolder, path.substr(dataFolder.size()));
    };

    for (size_t b = 0; b < bookPaths.size(); ++b) {
        if (!platform::CreateDirectories(bookPaths[b].c_str())) return false;
        if (kBooks[b].outside) {
            std::string directory = JoinPath(out->root, kBooks[b].directory);
            if (!platform::CreateDirectories(directory.c_str()) ||
                !WriteWhole(JoinPath(directory, "Address.ini"),
                            "[Settings]\r\nPath=" + hostPath(bookPaths[b]) + "\r\n", out))
                return false;
        }
    }
    for (const Folder& folder : folders) {
        if (!platform::CreateDirectories(folder.path.c_str())) return false;
        out->folderPaths.push_back(folder.path);
    }

    const uint32_t folderCount = static_cast<uint32_t>(folders.size());
    for (int c = 0; c < shape.contacts; ++c) {
        const Contact contact = MakeContact(random, c);
        Folder& folder = folders[random.Below(folderCount)];
        std::string card = "c" + std::to_string(c) + ".vcf";
        if (random.Chance(98)) {
            if (!WriteWhole(JoinPath(folder.path, card), CardText(random, contact), out)) return false;
        }
        folder.records.push_back(Record(random, card, contact.name, contact.address));
        out->addresses.push_back(contact.address);
        // The same person filed again elsewhere, under another name.
        if (folderCount > 1 && random.Chance(5)) {
            Folder& other = folders[random.Below(folderCount)];
            other.records.push_back(Record(random, card, contact.name + " (old)", contact.address));
        }
    }

    for (Folder& folder : folders) {
        if (folder.records.empty()) continue;   // a folder of subfolders only: no index
        const std::string text = IndexText(random, std::move(folder.records));
        const std::string path = JoinPath(folder.path, "Group.idx");
        if (!WriteWhole(path, text, out)) return false;
        out->indexPaths.push_back(path);
        out->indexBytes += text.size();
    }
    // A version-control folder is never looked at, whatever it holds.
    const std::string svn = JoinPath(bookPaths[0], ".svn");
    if (!platform::CreateDirectories(svn.c_str()) ||
        !WriteWhole(JoinPath(svn, "Group.idx"),
                    out->addresses.empty() ? "" : Record(random, "", "Hidden", out->addresses[0]), out))
        return false;
    return true;
}

std::vector<std::string> SampleRecipients(const GeneratedBook& book, int count, uint32_t seed) {
    BenchRandom random(seed);
    std::vector<std::string> recipients;
    const uint32_t listed = static_cast<uint32_t>(book.addresses.size());
    for (int i = 0; i < count; ++i) {
        const uint32_t roll = random.Below(100);
        if (listed == 0 || roll < 5) {
            recipients.push_back("nobody" + std::to_string(i) + "@nowhere.example");
            continue;
        }
        std::string address = book.addresses[random.Below(listed)];
        if (roll < 10) address[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(address[0])));
        recipients.push_back(address);
    }
    return recipients;
}

namespace {

constexpr char kManifestRoot[] = "root";
constexpr char kManifestBytes[] = "indexbytes";
constexpr char kManifestFolder[] = "folder";
constexpr char kManifestIndex[] = "index";
constexpr char kManifestAddress[] = "address";

// path below dataFolder, without it.
std::string Relative(const std::string& dataFolder, const std::string& path) {
    if (path.compare(0, dataFolder.size(), dataFolder) != 0) return path;
    const size_t start = path.find_first_not_of("\\/", dataFolder.size());
    return start == std::string::npos ? std::string() : path.substr(start);
}

}  // namespace

bool WriteBookManifest(const std::string& manifestPath, const std::string& dataFolder,
                       const GeneratedBook& book) {
    std::ofstream out(manifestPath, std::ios::binary);
    out << kManifestRoot << ' ' << Relative(dataFolder, book.root) << '\n'
        << kManifestBytes << ' ' << book.indexBytes << '\n';
    for (const std::string& path : book.folderPaths)
        out << kManifestFolder << ' ' << Relative(dataFolder, path) << '\n';
    for (const std::string& path : book.indexPaths)
        out << kManifestIndex << ' ' << Relative(dataFolder, path) << '\n';
    for (const std::string& address : book.addresses) out << kManifestAddress << ' ' << address << '\n';
    out.close();
    return static_cast<bool>(out);
}

bool ReadBookManifest(const std::string& manifestPath, const std::string& dataFolder,
                      GeneratedBook* book) {
    *book = GeneratedBook{};
    std::ifstream in(manifestPath, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string_view key = std::string_view(line).substr(0, space);
        const std::string value = line.substr(space + 1);
        if (key == kManifestRoot) book->root = JoinPath(dataFolder, value);
        else if (key == kManifestBytes) book->indexBytes = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == kManifestFolder) book->folderPaths.push_back(JoinPath(dataFolder, value));
        else if (key == kManifestIndex) book->indexPaths.push_back(JoinPath(dataFolder, value));
        else if (key == kManifestAddress) book->addresses.push_back(value);
    }
    return !book->folderPaths.empty();
}
