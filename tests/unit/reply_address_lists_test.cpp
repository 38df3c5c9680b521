#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/sizes.h"
#include "reply/reply_all.h"

namespace {

std::string Entries(const TokenList& list) {
    std::string joined;
    for (const std::string& entry : list) {
        joined += '[';
        joined += entry;
        joined += ']';
    }
    return joined;
}

}  // namespace

TEST(ReplyAddressLists, CollectKeepsWholeTokensAndDropsTheExcludedAddress) {
    TokenList list;
    const char* to = "Ann <ann@example.com>, \"Me, myself\" <ME@Example.org>;bob@example.net";
    EXPECT_EQ(CollectAddresses(list, to, "me@example.org"), 2u);
    EXPECT_EQ(Entries(list), "[Ann <ann@example.com>][bob@example.net]");

    // Nothing excluded, and the list grows at its end.
    EXPECT_EQ(CollectAddresses(list, "carol@example.com", nullptr), 1u);
    EXPECT_EQ(Entries(list), "[Ann <ann@example.com>][bob@example.net][carol@example.com]");

    EXPECT_EQ(CollectAddresses(list, "", "x@example.com"), 0u);
    EXPECT_EQ(list.Count(), 3u);
}

TEST(ReplyAddressLists, FilterDropsEmptyAndExcludedAddressesButNotDuplicates) {
    TokenList exclusion;
    exclusion.Append("Ann Smith <Ann@Example.com>");
    exclusion.Append("bob@example.net");

    TokenList list;
    list.Append("first@example.com");
    const char* cc = "ann@example.com, (comment only)\"Nameless\" <>, Dora <dora@example.com>,"
                     " dora@example.com, BOB@example.net";
    EXPECT_EQ(FilterAddresses(list, cc, exclusion), 2u);
    EXPECT_EQ(Entries(list), "[first@example.com][Dora <dora@example.com>][dora@example.com]");

    TokenList none;
    TokenList all;
    EXPECT_EQ(FilterAddresses(all, "a@x.org,b@x.org", none), 2u);
    EXPECT_EQ(Entries(all), "[a@x.org][b@x.org]");
}

TEST(ReplyAddressLists, AppendJoinedWritesCommaEntriesAndStopsAtCapacity) {
    std::vector<char> buffer(kListSize, '\0');
    char* result = buffer.data();

    TokenList list;
    list.Append("a@x.org");
    list.Append("Bea <b@x.org>");
    result[0] = '\0';
    ASSERT_TRUE(AppendJoined(result, kListSize, list));
    EXPECT_STREQ(result, ",a@x.org,Bea <b@x.org>");
    // A second list continues after the first.
    ASSERT_TRUE(AppendJoined(result, kListSize - std::strlen(result), list));
    EXPECT_STREQ(result, ",a@x.org,Bea <b@x.org>,a@x.org,Bea <b@x.org>");

    // Capacity counts comma, entry and terminator: ",a@x.org" needs 9 bytes,
    // both entries 8 + 14 + 1.
    result[0] = '\0';
    EXPECT_FALSE(AppendJoined(result, 8, list));
    EXPECT_STREQ(result, "");
    result[0] = '\0';
    EXPECT_FALSE(AppendJoined(result, 22, list));   // the first fits, the second not
    EXPECT_STREQ(result, ",a@x.org");
    result[0] = '\0';
    EXPECT_TRUE(AppendJoined(result, 23, list));
    EXPECT_STREQ(result, ",a@x.org,Bea <b@x.org>");
}

TEST(ReplyAddressLists, AppendJoinedNeverPassesTheEndOfTheBuffer) {
    std::vector<char> buffer(kListSize, '\0');
    char* result = buffer.data();
    const std::string filled(kListSize - 10, 'f');
    std::memcpy(result, filled.c_str(), filled.size() + 1);

    TokenList list;
    list.Append("12345678");   // needs 10 bytes, 10 are left
    TokenList longer;
    longer.Append("123456789");   // needs 11
    // A capacity beyond what the buffer has left does not count.
    EXPECT_FALSE(AppendJoined(result, kListSize, longer));
    EXPECT_EQ(std::strlen(result), filled.size());
    EXPECT_TRUE(AppendJoined(result, kListSize, list));
    EXPECT_EQ(std::strlen(result), kListSize - 1);
}
