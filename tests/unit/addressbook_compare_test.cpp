// The index against the plain reference lookup on generated books: every
// answer of FindName and FindCard must be the same, with and without a
// group folder, with both IgnoreCase settings, and after a rebuild.
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/halyard_addr_book.h"
#include "addressbook_fixture.h"
#include "addressbook_reference_lookup.h"
#include "bench/book_generator.h"
#include "common/sizes.h"
#include "common/text.h"

namespace {

constexpr int kSampled = 24;

class CompareTest : public abtest::AddressBookTest {
protected:
    void Generate(const test::TempDir& dir, int contacts, int folders, uint32_t seed) {
        ASSERT_TRUE(GenerateAddressBook(dir.Path(), BookShape{contacts, folders, seed}, &book_));
    }

    std::vector<std::string> Queries(uint32_t seed) const {
        std::vector<std::string> queries = SampleRecipients(book_, kSampled, seed);
        for (const char* extra : {"long@example.com", "longcard@example.com", "", "@"})
            queries.push_back(extra);
        std::string upper = book_.addresses.empty() ? "X@Y" : book_.addresses.back();
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        queries.push_back(upper);
        return queries;
    }

    std::vector<std::string> Groups() const {
        const std::string& first = book_.folderPaths.front();
        const std::string& last = book_.folderPaths.back();
        std::string upper = first;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        // A prefix of a folder's name matches its siblings too.
        return {"", last, upper.substr(0, upper.size() - 1), JoinPath(book_.root, "Nowhere")};
    }

    // Every query in every group, both comparison settings.
    void ExpectSameAnswers(SHalyardAddrBook& fast, uint32_t seed) {
        reference::AddressBook plain(book_.root);
        for (bool ignoreCase : {false, true}) {
            ChooseCompareAddress(ignoreCase);
            for (const std::string& group : Groups()) {
                for (const std::string& address : Queries(seed)) {
                    SCOPED_TRACE(address + " in " + group + (ignoreCase ? " ignoring case" : ""));
                    char name[kNameSize] = "";
                    std::optional<std::string> fastName;
                    if (fast.FindName(address.c_str(), name, group.c_str())) fastName = name;
                    EXPECT_EQ(fastName, plain.FindName(address, group));

                    std::optional<std::string> fastCard;
                    if (const auto item = fast.FindCard(address.c_str(), group.c_str()))
                        fastCard = reference::DescribeItem(*item);
                    EXPECT_EQ(fastCard, plain.FindCard(address, group));
                }
            }
        }
    }

    GeneratedBook book_;
};

TEST_F(CompareTest, GeneratedBooksGiveTheReferenceAnswers) {
    for (uint32_t seed : {1u, 2u}) {
        test::TempDir dir;
        Generate(dir, seed == 1 ? 300 : 150, seed == 1 ? 30 : 1, seed);
        SHalyardAddrBook fast(book_.root.c_str());
        ExpectSameAnswers(fast, seed);
        // Asked again, partly from what the first round cached.
        ExpectSameAnswers(fast, seed + 10);
    }
}

TEST_F(CompareTest, RebuildSeesChangedRemovedAndNewFiles) {
    Generate(dir_, 200, 20, 3);
    SHalyardAddrBook fast(book_.root.c_str());
    ExpectSameAnswers(fast, 3);

    // A name changed at the top of one index, another index gone, a card
    // rewritten, a new folder that lists everyone again.
    const std::string& changed = book_.indexPaths[book_.indexPaths.size() / 2];
    ASSERT_TRUE(reference::WriteWhole(
        changed, abtest::Record("c1.vcf", "Renamed, Person", book_.addresses[1]) +
                     reference::ReadWhole(changed).value_or("")));
    platform::DeleteFilePath(book_.indexPaths.front().c_str());
    std::string all;
    for (size_t i = 0; i < book_.addresses.size(); i += 3)
        all += abtest::Record("new.vcf", "New Folder", book_.addresses[i]);
    const std::string added = JoinPath(book_.folderPaths.front(), "Added");
    ASSERT_TRUE(reference::WriteWhole(JoinPath(added, "Group.idx"), all));
    ASSERT_TRUE(reference::WriteWhole(
        JoinPath(added, "new.vcf"),
        abtest::Card("FN:Everyone\r\nORG:New;Unit\r\nEMAIL:" + book_.addresses[0] + "\r\n")));
    book_.folderPaths.push_back(added);

    fast.Rebuild();
    ExpectSameAnswers(fast, 3);
}

// The host benchmark reads under Wine a book written natively: the outside
// book's "Address.ini" names it as Wine does, the manifest holds the paths
// relative to the data folder, whatever either program calls it.
TEST_F(CompareTest, BookWrittenForAnotherProgramReadsBackThroughItsManifest) {
    const std::string data = dir_.Join("data");
    const std::string hostData = "Z:\\elsewhere\\data";
    GeneratedBook written;
    ASSERT_TRUE(GenerateAddressBook(data, BookShape{60, 6, 4}, &written, hostData));
    const std::string manifest = dir_.Join("manifest.txt");
    ASSERT_TRUE(WriteBookManifest(manifest, data, written));

    char path[kPathSize] = {};
    platform::ProfileGetString("Settings", "Path", "", path, sizeof path,
                               JoinPath(JoinPath(written.root, "@Company"), "Address.ini").c_str());
    EXPECT_STREQ(path, "Z:\\elsewhere\\data\\CompanyBook");

    GeneratedBook read;
    ASSERT_TRUE(ReadBookManifest(manifest, data, &read));
    EXPECT_EQ(read.root, written.root);
    EXPECT_EQ(read.folderPaths, written.folderPaths);
    EXPECT_EQ(read.indexPaths, written.indexPaths);
    EXPECT_EQ(read.addresses, written.addresses);
    EXPECT_EQ(read.indexBytes, written.indexBytes);
    for (const std::string& index : read.indexPaths) EXPECT_TRUE(platform::FileExists(index.c_str()));

    ASSERT_TRUE(ReadBookManifest(manifest, hostData, &read));
    EXPECT_EQ(read.indexPaths.front(),
              hostData + written.indexPaths.front().substr(data.size()));
}

}  // namespace
