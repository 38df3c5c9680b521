#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/token_list.h"

namespace {

std::vector<std::string> Texts(const TokenList& list) {
    std::vector<std::string> texts(list.begin(), list.end());
    EXPECT_EQ(texts.size(), list.Count());
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
    EXPECT_EQ(list.begin(), list.end());
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
    EXPECT_NE(copy.begin()->data(), list.begin()->data());   // own copies
    copy.CopyFrom(copy);                                      // copying itself keeps it
    EXPECT_EQ(copy.Join(), "x,,z");
    list.Clear();
    EXPECT_EQ(copy.Join(), "x,,z");
}

// The list editor's edits by position: middle, head, tail and past the end.
TEST(TokenList, ReplaceAndRemoveByPosition) {
    TokenList list;
    list.SplitFrom("one,two,three,four");
    EXPECT_TRUE(list.ReplaceAt(1, "zwei"));
    EXPECT_EQ(list.Join(), "one,zwei,three,four");
    EXPECT_FALSE(list.ReplaceAt(4, "x"));
    EXPECT_EQ(list.Join(), "one,zwei,three,four");
    // A value may hold commas once edited in; Join shows them as they are.
    EXPECT_TRUE(list.ReplaceAt(3, "vier, 4"));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"one", "zwei", "three", "vier, 4"}));

    EXPECT_TRUE(list.RemoveAt(2));   // middle
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"one", "zwei", "vier, 4"}));
    EXPECT_TRUE(list.RemoveAt(0));   // head
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"zwei", "vier, 4"}));
    EXPECT_FALSE(list.RemoveAt(2));
    EXPECT_TRUE(list.RemoveAt(1));   // tail
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"zwei"}));
    EXPECT_TRUE(list.RemoveAt(0));   // only one
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.RemoveAt(0));
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
