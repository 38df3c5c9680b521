// The mail client as the unit tests stand it in: one compose window, the
// mail being replied to and the host's folders, reached through a HostApi
// table of the test's own, and the Work the entry points would hand down.
#pragma once

#include <atomic>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "addressbook/addr_book_changes.h"
#include "host/work.h"
#include "settings/settings.h"
#include "support/test_support.h"

class SHalyardAddrBook;

namespace fakehost {

struct FakeHost {
    std::map<std::string, std::string> compose;   // compose headers, names without case
    std::map<std::string, std::string> mail;      // the mail being replied to
    std::vector<std::string> written;             // compose headers in write order
    int codePage = 1252;                          // the compose window's code page
    std::string body;                             // UTF-8 when codePage is 65001
    std::string mimeType = "text/plain";
    bool noBody = false;                          // BKA_CompGetText answers NULL
    std::string dataFolder;                       // ends with a separator, as the host's
    std::string currentFolder;
    std::string mailBox;
    // Input of BKA_SerializeRcpts -> its answer (nullopt: NULL). Without a
    // rule the input comes back unchanged.
    std::map<std::string, std::optional<std::string>> serialize;
    bool utf8Fails = false;                       // BKA_UTF_8 answers NULL
    std::string utf8FailsOn;                      // ... for a text holding this
    int liveTexts = 0;                            // handed out, not yet freed
    int windowHandleCalls = 0;
    int setTextCalls = 0;
    int headerReads = 0;
    // After this many compose header reads every header reads empty.
    int headerReadLimit = INT_MAX;
};

FakeHost& Fake();

// A window handle for tests that need no real window.
HostWindow Window();

// The fake's functions in host, fresh work buffers and default settings in
// work; restores an empty fake on destruction.
class FakeHostScope {
public:
    FakeHostScope();
    ~FakeHostScope();
    FakeHostScope(const FakeHostScope&) = delete;
    FakeHostScope& operator=(const FakeHostScope&) = delete;

    SSettings& Settings() { return settings_; }
    // Builds the address index over dataFolder + "AddrBook" into work.
    void LoadAddressBook();
    // A window the system knows (the template engine asks whether its
    // windows still exist), closed with the scope at the latest.
    HostWindow NewWindow();
    void CloseWindow(HostWindow window);

private:
    SSettings settings_{SSettings::DefaultsTag{}};
    std::vector<char> header_, copy_, result_;
    std::unique_ptr<SHalyardAddrBook> book_;
    std::vector<HostWindow> windows_;

public:
    HostApi host;
    AddressBookChanges addrBookChanges;
    Work work;
};

// The compose header as the window holds it; "" when absent.
std::string Compose(const std::string& name);

// One line of a folder's "Group.idx".
std::string Record(const std::string& name, const std::string& address);
std::string IndexRecord(const std::string& card, const std::string& name,
                        const std::string& address);

// A card file holding one vCard; empty fields are left out.
struct CardFields {
    std::string fullName;
    std::string address;
    std::string organization;
    std::string unit;
    std::string family;
    std::string given;
};
std::string CardFile(const CardFields& fields);

// A scratch data folder with the fake host over it.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void Write(const std::string& relative, const std::string& bytes);
    SSettings& Settings() { return scope.Settings(); }
    const Work& W() const { return scope.work; }

    test::TempDir dir;
    FakeHostScope scope;
};

// A mailbox whose own address is me@example.org, and a book "Main" whose
// folder Friends lists Ann Smith and Bob Jones, and whose folder Work lists
// Ann as "Ann at Work".
class ReplyTest : public HostTest {
protected:
    void SetUp() override;
};

// A compose window over an empty data folder; WriteFolder fills books.
class ComposeTest : public HostTest {
protected:
    void SetUp() override;
    // Lists the cards in the folder AddrBook/@Main/<folder>.
    void WriteFolder(const std::string& folder, const std::vector<CardFields>& cards);

    HostWindow window = nullptr;
};

}  // namespace fakehost
