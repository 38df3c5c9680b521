#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/token_list.h"

namespace {

std::vector<std::string> Texts(const TokenList& list) {
    std::vector<std::string> texts;
    for (TokenNode* n = list.First(); n; n = n->next) {
        EXPECT_EQ(n->length, std::string(n->text).size());
        texts.emplace_back(n->text);
    }
    // The backward links name the same entries.
    std::vector<std::string> backwards;
    for (TokenNode* n = list.Last(); n; n = n->prev) backwards.insert(backwards.begin(), n->text);
    EXPECT_EQ(texts, backwards);
    return texts;
}

TEST(TokenList, SplitJoinAndCopy) {
    TokenList list;
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Join(), "");

    // Runs of commas are one separator; blanks stay with the entry.
    list.SplitFrom(",,a,,b, c,");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", " c"}));
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Join(), "a,b, c");

    list.SplitFrom("");
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Last(), nullptr);
    list.SplitFrom(",,,");
    EXPECT_TRUE(list.Empty());

    list.Append("x");
    list.Append("");
    list.Append("z");
    EXPECT_EQ(list.Join(), "x,,z");

    TokenList copy;
    copy.Append("old");
    copy.CopyFrom(list);
    EXPECT_EQ(Texts(copy), Texts(list));
    EXPECT_NE(copy.First()->text, list.First()->text);   // own copies
    copy.CopyFrom(copy);                                  // copying itself keeps it
    EXPECT_EQ(copy.Join(), "x,,z");
}

TEST(TokenList, RemoveKeepsLinksWhole) {
    TokenList list;
    list.SplitFrom("a,b,c,d");
    list.Remove(list.First()->next);   // middle
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "c", "d"}));
    list.Remove(list.First());         // head
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"c", "d"}));
    list.Remove(list.Last());          // tail
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"c"}));
    list.Remove(list.Last());          // only one
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Last(), nullptr);
    list.Append("again");
    EXPECT_EQ(list.Join(), "again");
}

TEST(HostAddressFormat, RegistryNumbersMapToFormats) {
    EXPECT_EQ(MapHostAddressFormat(0), 2);
    EXPECT_EQ(MapHostAddressFormat(1), 3);
    EXPECT_EQ(MapHostAddressFormat(2), 1);
    EXPECT_EQ(MapHostAddressFormat(3), 2);
    EXPECT_EQ(MapHostAddressFormat(5), 2);
    EXPECT_EQ(MapHostAddressFormat(0xFFFFFFFFu), 2);
}

}  // namespace
