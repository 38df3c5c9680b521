// The table of tricky recipient lists (tests/generate/rfc_lists.py, also
// replayed as the scenario reply_rfc_lists): a strict reader reads each list
// and its rewriting, and every recipient must come back, in order, with the
// address-book name where the book lists it and its own name elsewhere.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/address_format.h"
#include "addressbook/halyard_addr_book.h"
#include "addressbook_fixture.h"
#include "common/sizes.h"
#include "reply_header_checker.h"
#include "reply_rfc_lists_table.h"
#include "settings/settings.h"

namespace {

using headercheck::Mailbox;

std::vector<Mailbox> Read(const std::string& header) {
    std::vector<Mailbox> boxes;
    std::string error;
    EXPECT_TRUE(headercheck::ParseAddressList(header, &boxes, &error))
        << error << " in " << header;
    return boxes;
}

class RfcLists : public abtest::AddressBookTest {
protected:
    template <size_t BookSize, size_t RowCount>
    void Check(const rfclists::Listed (&book)[BookSize], const rfclists::Row (&rows)[RowCount]) {
        std::string index;
        for (const rfclists::Listed& entry : book)
            index += abtest::Record("c.vcf", entry.name, entry.address);
        Write("AddrBook/@Main/Friends/Group.idx", index);
        SHalyardAddrBook addressBook(Root().c_str());

        for (const rfclists::Row& row : rows) {
            SCOPED_TRACE(row.list);
            // What a reader finds in the list, with the names the book has.
            std::vector<Mailbox> expected = Read(row.list);
            for (Mailbox& box : expected) {
                for (const rfclists::Listed& entry : book) {
                    if (box.address == entry.address) box.name = entry.shown;
                }
            }
            ASSERT_FALSE(expected.empty());

            SSettings settings{SSettings::DefaultsTag{}};
            settings.replyFormat = row.replyFormat;
            // A header that holds a base64 encoded word has its names encoded.
            const bool encode = std::strstr(row.list, "=?") && std::strstr(row.list, "?B?") &&
                                std::strstr(row.list, "?=");
            std::vector<char> out(kListSize);
            ASSERT_TRUE(RewriteAddressList(row.list, encode, "", nullptr, out.data(), out.size(),
                                           settings, &addressBook, nullptr));
            EXPECT_EQ(std::string(out.data()), row.rewritten);

            // The rewriting, and the text the scenario expects, read as the
            // same recipients.
            for (const std::string& rewritten : {std::string(out.data()), std::string(row.rewritten)}) {
                const std::vector<Mailbox> read = Read(rewritten);
                ASSERT_EQ(read.size(), expected.size()) << rewritten;
                for (size_t i = 0; i < read.size(); ++i) {
                    EXPECT_EQ(read[i].address, expected[i].address) << rewritten;
                    EXPECT_EQ(read[i].name, expected[i].name) << rewritten;
                }
            }
        }
    }
};

TEST_F(RfcLists, EveryRecipientKeepsItsPlaceAndName) {
    if (platform::AnsiCodePage() == 1252) Check(rfclists::kBookEn, rfclists::kRowsEn);
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
#endif
    if (platform::AnsiCodePage() == 932) Check(rfclists::kBookJa, rfclists::kRowsJa);
}

}  // namespace
