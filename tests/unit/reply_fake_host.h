// A stand-in for the mail client in the reply tests: one compose window and
// the current mail, reached through Host() as the plug-in reaches the host.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/host_api.h"
#include "settings/settings.h"
#include "support/test_support.h"

class SHalyardAddrBook;

namespace replytest {

struct FakeHost {
    std::map<std::string, std::string> compose;   // compose window headers
    std::map<std::string, std::string> mail;      // the mail being replied to
    std::vector<std::string> written;             // compose headers in write order
    int codePage = 1252;                          // the compose window's code page
    std::string dataFolder;                       // ends with a separator, as the host's
    std::string currentFolder;
    std::string mailBox;
    // Input of BKA_SerializeRcpts -> its answer (nullopt: NULL). Without a
    // rule the input comes back unchanged.
    std::map<std::string, std::optional<std::string>> serialize;
    bool utf8Fails = false;                       // BKA_UTF_8 answers NULL
    int liveTexts = 0;                            // handed out, not yet freed
    int windowHandleCalls = 0;
};

FakeHost& Fake();

// The window handle the tests pass around.
HostWindow Window();

// Installs the fake into Host(), fresh work buffers and the given settings
// into Plugin(); restores an empty state on destruction.
class FakeHostScope {
public:
    FakeHostScope();
    ~FakeHostScope();
    FakeHostScope(const FakeHostScope&) = delete;
    FakeHostScope& operator=(const FakeHostScope&) = delete;

    SSettings& Settings() { return settings_; }
    // Builds the address index over dataFolder + "AddrBook".
    void LoadAddressBook();

private:
    SSettings settings_{SSettings::DefaultsTag{}};
    std::vector<char> header_, copy_, result_;
    std::unique_ptr<SHalyardAddrBook> book_;
};

// The compose header as the window holds it; "" when absent.
std::string Compose(const std::string& name);

// Comma-separated addresses t0@example.com, t1@... (tag first) of exactly
// size bytes; the last one may be cut.
std::string ListOfSize(size_t size, char tag);

// One line of a folder's "Group.idx".
std::string Record(const std::string& name, const std::string& address);

// A data folder with a mailbox whose own address is me@example.org, and a
// book "Main" whose folder Friends lists Ann Smith and Bob Jones, and whose
// folder Work lists Ann as "Ann at Work".
class ReplyTest : public ::testing::Test {
protected:
    void SetUp() override;
    void Write(const std::string& relative, const std::string& bytes);
    SSettings& Settings() { return scope.Settings(); }

    test::TempDir dir;
    FakeHostScope scope;
};

}  // namespace replytest
