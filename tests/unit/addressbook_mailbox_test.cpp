#include <string>
#include <vector>

#include "addressbook/mailbox.h"
#include "addressbook_fixture.h"
#include "common/sizes.h"
#include "common/text.h"

namespace {

class MailBoxTest : public abtest::AddressBookTest {
protected:
    void SetUp() override {
        AddressBookTest::SetUp();
        list_.assign(kListSize, '\0');
        work_.assign(kListSize, '\0');
        Account("me@example.com", "boss@example.com, \"Team, All\" <team@example.com>,", "");
    }
    void Account(const std::string& own, const std::string& permCc, const std::string& permBcc) {
        Write("Data/1a2b3c4d.mb/MailBox.ini", "[Account]\r\nMailAddress=" + own +
                                                  "\r\nPermCc=" + permCc +
                                                  "\r\nPermBcc=" + permBcc + "\r\n");
    }
    // The host's data folder ends in a backslash, and so does the mailbox.
    std::string DataFolder() const { return JoinPath(At("Data"), ""); }

    // Runs ExcludeSelf over list; the list afterwards.
    std::string Exclude(const std::string& list, bool isTo) {
        CopyBounded(&list_[0], list_.size(), list);
        std::string data = DataFolder();
        changed_ = ExcludeSelf(&list_[0], isTo, data.c_str(), kMailBox, &work_[0], work_.size());
        return list_.c_str();
    }

    static constexpr const char* kMailBox = "1a2b3c4d.mb\\";
    std::string list_;
    std::string work_;
    bool changed_ = false;
};

TEST_F(MailBoxTest, OwnAddressLeavesTheList) {
    // To holding only the own address stays as it is.
    EXPECT_EQ(Exclude("me@example.com", true), "me@example.com");
    EXPECT_FALSE(changed_);
    EXPECT_EQ(Exclude("me@example.com", false), "");
    EXPECT_TRUE(changed_);
    // Case never matters for the own address, whatever IgnoreCase says.
    EXPECT_EQ(Exclude("ME@Example.COM, a@x", false), "a@x");
    EXPECT_TRUE(changed_);
    // A token is removed whole; the others keep their text, trimmed.
    EXPECT_EQ(Exclude(" Boss Man <b@x> ,  \"Me, Really\" <me@example.com> ;Other (o) <o@x>  ",
                      true),
              "Boss Man <b@x>,Other (o) <o@x>");
    EXPECT_TRUE(changed_);
    // Nothing to remove still rewrites.
    EXPECT_EQ(Exclude("a@x ,b@x", true), "a@x,b@x");
    EXPECT_TRUE(changed_);
    // No token at all.
    EXPECT_EQ(Exclude(" , ", false), " , ");
    EXPECT_FALSE(changed_);
}

TEST_F(MailBoxTest, PermanentCopiesProtectTheOwnAddress) {
    Account("me@example.com", "other@x,me@example.com", "");
    EXPECT_EQ(Exclude("me@example.com, a@x", false), "me@example.com,a@x");
    // With IgnoreCase off, a permanent entry differing in case does not protect.
    Account("me@example.com", "ME@example.com", "");
    EXPECT_EQ(Exclude("me@example.com, a@x", false), "a@x");
    ChooseCompareAddress(true);
    EXPECT_EQ(Exclude("me@example.com, a@x", false), "me@example.com,a@x");
    ChooseCompareAddress(false);
    // PermBcc protects too; a display name with a comma breaks its entry.
    Account("me@example.com", "", "x@x, Me <me@example.com>");
    EXPECT_EQ(Exclude("me@example.com", false), "me@example.com");
    Account("me@example.com", "", "\"Me, Myself\" <me@example.com>");
    EXPECT_EQ(Exclude("me@example.com", false), "");
    EXPECT_TRUE(changed_);
}

TEST_F(MailBoxTest, AddressLists) {
    std::string data = DataFolder();
    SBeckyMailBox box(data.c_str(), kMailBox);
    EXPECT_STREQ(box.MailAddress(), "me@example.com");
    // "Team, All" splits at its comma: its first half is no address of use.
    EXPECT_EQ(box.ReadAddressList("PermCc"),
              (std::vector<std::string>{"boss@example.com", "\"Team", "All\" <team@example.com>"}));
    EXPECT_TRUE(box.ReadAddressList("PermBcc").empty());
    EXPECT_TRUE(box.ReadAddressList("Missing").empty());

    // A long value is read whole; each address is cut to 1023 bytes.
    std::string longAddress(3000, 'l');
    Account("me@example.com", "a@x," + longAddress, "");
    std::vector<std::string> perm = box.ReadAddressList("PermCc");
    ASSERT_EQ(perm.size(), 2u);
    EXPECT_EQ(perm[1], std::string(1023, 'l'));
}

TEST_F(MailBoxTest, WithoutMailBoxFile) {
    std::string data = JoinPath(At("Nowhere"), "");
    SBeckyMailBox box(data.c_str(), kMailBox);
    EXPECT_STREQ(box.MailAddress(), "");
    EXPECT_TRUE(box.ReadAddressList("PermCc").empty());
    // Only tokens without an address go.
    CopyBounded(&list_[0], list_.size(), "a@x, Name <>, me@example.com");
    EXPECT_TRUE(ExcludeSelf(&list_[0], false, data.c_str(), kMailBox, &work_[0], work_.size()));
    EXPECT_STREQ(list_.c_str(), "a@x,me@example.com");
    // Folders the host could never hand over open nothing.
    std::string longData(300, 'd');
    SBeckyMailBox tooLong(longData.c_str(), kMailBox);
    EXPECT_STREQ(tooLong.MailAddress(), "");
}

TEST_F(MailBoxTest, ListsAtTheSizeLimit) {
    // Many recipients in a list just under 64 KiB.
    std::string list;
    while (list.size() + 40 < kListSize - 1) list += "someone@example.com, me@example.com, ";
    std::string out = Exclude(list, false);
    EXPECT_TRUE(changed_);
    EXPECT_EQ(out.find("me@example.com"), std::string::npos);
    EXPECT_EQ(out.size() % 20, 19u);

    // One recipient filling the whole buffer: written back it would need
    // more room than the list has, so the list is left as it is.
    std::string huge(kListSize - 1, 'h');
    EXPECT_EQ(Exclude(huge, true), huge);
    EXPECT_FALSE(changed_);
    std::string almost(kListSize - 2, 'h');
    EXPECT_EQ(Exclude(almost, true), almost);
    EXPECT_TRUE(changed_);
}

}  // namespace
