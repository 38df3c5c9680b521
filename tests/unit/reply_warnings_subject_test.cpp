#include <gtest/gtest.h>

#include "reply/warnings.h"

TEST(BareReplySubject, OnlyThePrefixWithSpacesAround) {
    EXPECT_TRUE(IsBareReplySubject("Re:"));
    EXPECT_TRUE(IsBareReplySubject("  Re:  "));
    EXPECT_TRUE(IsBareReplySubject("RE:"));
    EXPECT_TRUE(IsBareReplySubject("re: "));
    EXPECT_FALSE(IsBareReplySubject("Re: the plan"));
    EXPECT_FALSE(IsBareReplySubject("Re:Re:"));
    EXPECT_FALSE(IsBareReplySubject("Re: Re:"));
    // Only spaces are trimmed.
    EXPECT_FALSE(IsBareReplySubject("Re:\t"));
    EXPECT_FALSE(IsBareReplySubject("\tRe:"));
    EXPECT_FALSE(IsBareReplySubject("Re"));
    EXPECT_FALSE(IsBareReplySubject(""));
    EXPECT_FALSE(IsBareReplySubject("   "));
}
