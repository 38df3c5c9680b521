#include <gtest/gtest.h>

#include <string>

#include "common/sizes.h"
#include "view/sender_text.h"

namespace {

std::string Shown(const char* name, const char* address, int format) {
    char out[kNameSize];
    FormatSenderText(out, sizeof out, name, address, format);
    return out;
}

}  // namespace

TEST(SenderText, EveryFormWithAndWithoutName) {
    EXPECT_EQ(Shown("Ann Smith", "ann@example.com", 0), "Ann Smith");
    EXPECT_EQ(Shown("", "ann@example.com", 0), "ann@example.com");
    EXPECT_EQ(Shown("Ann Smith", "ann@example.com", 1), "ann@example.com");
    EXPECT_EQ(Shown("Ann Smith", "ann@example.com", 2), "Ann Smith <ann@example.com>");
    EXPECT_EQ(Shown("", "ann@example.com", 2), "<ann@example.com>");
    EXPECT_EQ(Shown("Ann Smith", "ann@example.com", 3), "ann@example.com (Ann Smith)");
    EXPECT_EQ(Shown("", "ann@example.com", 3), "ann@example.com");
    // An unknown form shows the name, even an empty one.
    EXPECT_EQ(Shown("Ann Smith", "ann@example.com", 7), "Ann Smith");
    EXPECT_EQ(Shown("", "ann@example.com", 7), "");
}

TEST(SenderText, CombinedFormTooLongShowsAddressAlone) {
    std::string name(1004, 'n');  // 1004 + 20 + 4 reaches the name size
    std::string address(20, 'a');
    EXPECT_EQ(Shown(name.c_str(), address.c_str(), 2), address);
    EXPECT_EQ(Shown(name.c_str(), address.c_str(), 3), address);
    // One byte shorter fits: length sum + 4 stays below the name size.
    std::string fits(kNameSize - 5 - address.size(), 'n');
    EXPECT_EQ(Shown(fits.c_str(), address.c_str(), 2), fits + " <" + address + ">");
}
