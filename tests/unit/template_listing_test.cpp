// One command turned into a listing: the item handlers, their breaks,
// indentation and separators, with the address book replaced by a table.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "addressbook/vcard.h"
#include "common/sizes.h"
#include "template/expand_addresses.h"
#include "template/template_command.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

namespace {

struct Card {
    const char* fullName = nullptr;
    const char* organization = nullptr;
    const char* unit = nullptr;
    const char* family = nullptr;
    const char* given = nullptr;
};

std::optional<std::string> Copy(const char* text) {
    if (!text) return std::nullopt;
    return std::string(text);
}

class ListingTest : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(_WIN32)
        platform::testing::Reset();
#endif
    }

    // The output of the first "$t" command of commandText for the
    // recipient list header, listed from cards.
    // "<failed>" when a value could not be encoded.
    std::string Expand(const std::string& commandText, const std::string& header,
                       size_t startColumn = 0, size_t outSize = kListSize,
                       const ValueEncoder* encode = nullptr) {
        STemplateCommand command;
        size_t start = 0;
        size_t end = 0;
        EXPECT_TRUE(FindTemplateCommand(commandText, 0, 't', TextCoding::kAnsi, &command, &start, &end))
            << commandText;
        std::vector<char> list(header.begin(), header.end());
        list.push_back('\0');
        std::vector<char> out(outSize + 1, '#');
        CardLookup lookup = [this](const char* address) -> std::unique_ptr<SVcardItem> {
            ++lookups;
            auto found = cards.find(address);
            if (found == cards.end()) return nullptr;
            auto item = std::make_unique<SVcardItem>();
            item->address = Copy(address);
            item->fullName = Copy(found->second.fullName);
            item->organization = Copy(found->second.organization);
            item->unit = Copy(found->second.unit);
            item->familyName = Copy(found->second.family);
            item->givenName = Copy(found->second.given);
            return item;
        };
        SListingTarget target;
        target.out = out.data();
        target.size = outSize;
        target.startColumn = startColumn;
        target.encode = encode;
        const std::optional<size_t> listed = ExpandCommand(command, list.data(), lookup, target);
        EXPECT_EQ(out[outSize], '#') << "wrote past the buffer";
        if (!listed) {
            EXPECT_EQ(out[0], '\0');
            return "<failed>";
        }
        const size_t length = *listed;
        EXPECT_LT(length, outSize);
        EXPECT_EQ(out[length], '\0');
        EXPECT_EQ(strlen(out.data()), length);
        return std::string(out.data(), length);
    }

    std::map<std::string, Card> cards;
    int lookups = 0;
};

TEST_F(ListingTest, NamesAndSeparators) {
    cards["a@x"] = {"Ann"};
    cards["b@x"] = {"Bob"};
    // The last recipient of a name item gets no separator.
    EXPECT_EQ(Expand("$t($n, )", "a@x, b@x"), "Ann, Bob");
    EXPECT_EQ(Expand("$tTo: ($n, )", "a@x"), "To: Ann");
    EXPECT_EQ(lookups, 3);

    // Unknown letters produce nothing; the others go on.
    EXPECT_EQ(Expand("$t($x$n)", "a@x"), "Ann");

    // Header order, not address-book order; every entry is listed.
    EXPECT_EQ(Expand("$t($n/)", "b@x, a@x, b@x"), "Bob/Ann/Bob");
}

TEST_F(ListingTest, NoOutputDropsThePrefix) {
    cards["a@x"] = {"Ann"};
    EXPECT_EQ(Expand("$tTo: ($n, )", ""), "");
    // Every value absent: nothing, prefix included.
    EXPECT_EQ(Expand("$tTo: ($f$l$O)", "a@x"), "");
    // Only spaces and breaks: they need something written first.
    EXPECT_EQ(Expand("$tTo: ($3s$r)", "a@x", 5), "");
}

TEST_F(ListingTest, UnlistedAddresses) {
    // Without a name in the header the address stands for the name; the
    // other letters have nothing to print.
    EXPECT_EQ(Expand("$t($n)", "x@example.com"), "x@example.com");
    EXPECT_EQ(Expand("$t($f$l$o$O$i$I)", "x@example.com"), "");
    // With a name in the header, that name.
    EXPECT_EQ(Expand("$t($n)", "Foo Bar <foo@example.com>"), "Foo Bar");
    EXPECT_EQ(Expand("$t($n; )", "foo@example.com (Foo), \"Doe, J\" <j@x>"), "Foo; Doe, J");
    // A listed address whose card has no display name gives nothing for "n".
    cards["nameless@x"] = {nullptr, "Org"};
    EXPECT_EQ(Expand("$t($n$O)", "Header Name <nameless@x>"), "Org");
}

TEST_F(ListingTest, WrappingAtTheWidth) {
    cards["a@x"] = {"Alice Long"};
    cards["b@x"] = {"Bobby Long"};
    // Names longer than the width at the start of a line: each on its own
    // line, the first after an empty one.
    EXPECT_EQ(Expand("$t5($n, )", "a@x, b@x"), "\r\nAlice Long, \r\nBobby Long");

    cards["c@x"] = {"Alice"};
    cards["d@x"] = {"Bob"};
    // The column counts the prefix and what precedes the command on its line.
    EXPECT_EQ(Expand("$t12To: ($n, )", "c@x, d@x"), "To: Alice, \r\nBob");
    EXPECT_EQ(Expand("$t12To: ($n, )", "c@x, d@x", 6), "To: \r\nAlice, Bob");
    // Without a width nothing wraps.
    EXPECT_EQ(Expand("$tTo: ($n, )", "c@x, d@x", 200), "To: Alice, Bob");
}

TEST_F(ListingTest, OrganizationsOnceOrEachTime) {
    cards["a@x"] = {"Ann", "Acme"};
    cards["b@x"] = {"Bob", "Acme"};
    cards["c@x"] = {"Cid", "Zeta"};
    // "$o" prints a shared organization once.
    EXPECT_EQ(Expand("$t($o $n, )", "a@x, b@x, c@x"), "Acme Ann, Bob, \r\nZeta Cid");
    // "$O" prints it for everyone, each after the first on a new line.
    EXPECT_EQ(Expand("$t($O $n, )", "a@x, b@x"), "Acme Ann, \r\nAcme Bob");

    // With the break flag the organization ends its line when it changed
    // from the previous recipient's.
    EXPECT_EQ(Expand("$t($O:r$3n)", "a@x, c@x"), "Acme:\r\n   Ann\r\nZeta:\r\n   Cid");
    EXPECT_EQ(Expand("$t($O:r$3n)", "a@x, b@x"), "Acme:\r\n   Ann\r\nAcme:Bob");
    // An organization past the width breaks after it.
    cards["d@x"] = {"Dee", "Organisation"};
    EXPECT_EQ(Expand("$t10($O: $n)", "d@x"), "Organisation: \r\nDee");
}

TEST_F(ListingTest, Departments) {
    cards["a@x"] = {"Ann", "Acme", "Sales"};
    cards["b@x"] = {"Bob", "Acme", "Sales"};
    cards["c@x"] = {"Cid", "Acme", "Labs"};
    cards["u@x"] = {"Ute", nullptr, "Lonely"};
    // "$i" prints a department once for the same organization and department.
    EXPECT_EQ(Expand("$t($o $i $n, )", "a@x, b@x, c@x"), "Acme Sales Ann, Bob, Labs Cid");
    EXPECT_EQ(Expand("$t($I $n, )", "a@x, b@x"), "Sales Ann, Sales Bob");
    // A department without an organization is not printed.
    EXPECT_EQ(Expand("$t($I$n)", "u@x"), "Ute");
    // The break flag of "i" ends the line when the group changed.
    EXPECT_EQ(Expand("$t($o $ir$2n, )", "a@x, c@x"), "Acme Sales\r\n  Ann, Labs\r\n  Cid");
}

TEST_F(ListingTest, GroupsEndTheirLine) {
    cards["a@x"] = {"Ann", "Acme", "Sales"};
    cards["b@x"] = {"Bob", "Acme", "Sales"};
    cards["c@x"] = {"Cid", "Zeta"};
    // The example of the user guide: organization and department once per
    // group, names separated by commas, a line per group.
    EXPECT_EQ(Expand("$t72To: ($o $i $n, r)", "a@x, b@x, c@x"),
              "To: Acme Sales Ann, Bob, \r\nZeta Cid");
    // Family and given names follow the name rules: their separators are
    // left out for the last recipient.
    cards["f@x"] = {"Full", nullptr, nullptr, "Smith", "Jane"};
    cards["g@x"] = {"Full", nullptr, nullptr, "Doe", "John"};
    EXPECT_EQ(Expand("$t($f, $l; )", "f@x, g@x"), "Smith, Jane; DoeJohn");
}

TEST_F(ListingTest, SpacesAndBreaks) {
    cards["a@x"] = {"Ann", nullptr, nullptr, "Smith"};
    cards["b@x"] = {"Bob", nullptr, nullptr, "Jones"};
    EXPECT_EQ(Expand("$t($n$2s$f$r)", "a@x, b@x"), "Ann  Smith\r\nBob  Jones\r\n");
    // Spaces at the start of a line, or before anything was written, vanish.
    EXPECT_EQ(Expand("$t($4s$n)", "a@x"), "Ann");
    EXPECT_EQ(Expand("$t($4s$n)", "a@x", 8), "Ann");
    EXPECT_EQ(Expand("$t($r$n$r$r)", "a@x"), "Ann\r\n");
    // Indentation at column 0 only.
    EXPECT_EQ(Expand("$t($3n$r)", "a@x, b@x"), "   Ann\r\n   Bob\r\n");
}

TEST_F(ListingTest, OutputStaysInItsBuffer) {
    cards["a@x"] = {"Alice"};
    cards["b@x"] = {"Bobby"};
    cards["c@x"] = {"Carol"};
    cards["d@x"] = {"Dan"};
    // A handler whose output does not fit writes nothing.
    EXPECT_EQ(Expand("$t($n, )", "a@x, b@x, c@x, d@x", 0, 16), "Alice, Bobby, ");
    EXPECT_EQ(Expand("$tTo: ($n)", "a@x", 0, 8), "");
    EXPECT_EQ(Expand("$t($n$100s$n)", "a@x", 0, 64), "AliceAlice");

    // A full-size listing is cut at the buffer, never past it.
    std::string many;
    for (int i = 0; i < 3000; ++i) many += "someone" + std::to_string(i) + "@example.com, ";
    const std::string out = Expand("$t72To: ($n, r)", many);
    EXPECT_GT(out.size(), kListSize - 64);
}

TEST_F(ListingTest, EncodedValuesTakeTheColumnsOfTheirAnsiForm) {
    cards["a@x"] = {"Ann"};
    cards["b@x"] = {"Bob"};
    cards["c@x"] = {"Cid"};
    // A stand-in for UTF-8: every value written twice. The width still
    // counts each value once: Ann and Bob fit into 10 columns.
    const ValueEncoder twice = [](std::string_view value, std::string* out) {
        out->assign(value).append(value);
        return true;
    };
    EXPECT_EQ(Expand("$t10($n, )", "a@x, b@x, c@x", 0, kListSize, &twice), "AnnAnn, BobBob, \r\nCidCid");
    // Prefix and separators keep their bytes; the organization is encoded.
    cards["d@x"] = {"Dee", "Org"};
    EXPECT_EQ(Expand("$tTo: ($O/$n)", "d@x", 0, kListSize, &twice), "To: OrgOrg/DeeDee");

    // A value that cannot be encoded fails the whole listing.
    const ValueEncoder failing = [](std::string_view value, std::string* out) {
        out->assign(value);
        return value != "Bob";
    };
    EXPECT_EQ(Expand("$t($n, )", "a@x, b@x, c@x", 0, kListSize, &failing), "<failed>");
    EXPECT_EQ(Expand("$t($n, )", "a@x, c@x", 0, kListSize, &failing), "Ann, Cid");
}

}  // namespace
