// Shared helpers of the address-book tests: index records and card files in
// the host's byte layout, and a scratch "AddrBook" folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "addressbook/compare_address.h"
#include "common/platform.h"
#include "support/test_support.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

namespace abtest {

// One "Group.idx" record: two unread fields, card file, name, address, one
// more field, CR LF.
inline std::string Record(std::string_view card, std::string_view name, std::string_view address) {
    std::string r = "id\t0\t";
    r += card;
    r += '\t';
    r += name;
    r += '\t';
    r += address;
    r += "\t0\r\n";
    return r;
}

// A card as the host writes it.
inline std::string Card(std::string_view body) {
    return "BEGIN:VCARD\r\nVERSION:2.1\r\n" + std::string(body) + "END:VCARD\r\n";
}

// Resets the comparison and the native code page around every test.
class AddressBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ChooseCompareAddress(false);
#if !defined(_WIN32)
        platform::testing::Reset();
#endif
    }
    void TearDown() override { ChooseCompareAddress(false); }

    // Path of a file below the scratch folder, written with '/'.
    std::string At(std::string_view relative) const { return dir_.Join(relative); }
    void Write(std::string_view relative, std::string_view bytes) const {
        test::WriteBytes(At(relative), bytes);
    }
    std::string Root() const { return At("AddrBook"); }

    test::TempDir dir_;
};

// Whether the process runs with the Japanese code page; natively the test
// can choose it.
inline bool UseJapaneseCodePage() {
#if !defined(_WIN32)
    platform::testing::SetAnsiCodePage(932);
    return true;
#else
    return platform::AnsiCodePage() == 932;
#endif
}

}  // namespace abtest
