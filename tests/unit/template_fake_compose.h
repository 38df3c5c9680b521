// A stand-in for the mail client in the template tests: compose windows
// whose body and headers the engine reaches through Host(), the plug-in's
// work buffers, and an address book in a scratch folder.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/host_api.h"
#include "support/test_support.h"

class SHalyardAddrBook;

namespace tmpltest {

// The compose window's state; every window handle shares it.
struct FakeCompose {
    std::string body;                     // UTF-8 when codePage is 65001
    std::string mimeType = "text/plain";
    bool noBody = false;                  // BKA_CompGetText answers NULL
    int codePage = 1252;
    std::map<std::string, std::string> headers;   // in the ANSI code page
    std::string dataFolder;               // ends with a separator
    std::string currentFolder;
    int setTextCalls = 0;
    int headerReads = 0;
    // After this many header reads every header reads empty, so that an
    // expansion that keeps repeating itself ends and its test fails.
    int headerReadLimit = 200;
    int liveTexts = 0;                    // host texts handed out, not freed
};

FakeCompose& Fake();

// Installs the fake into Host() and work buffers into Plugin(); restores an
// empty state on destruction. Windows made here are real ones under Wine,
// since the engine asks the system whether they still exist.
class FakeComposeScope {
public:
    FakeComposeScope();
    ~FakeComposeScope();
    FakeComposeScope(const FakeComposeScope&) = delete;
    FakeComposeScope& operator=(const FakeComposeScope&) = delete;

    HostWindow NewWindow();
    void CloseWindow(HostWindow window);
    // Builds the address index over the data folder's "AddrBook".
    void LoadAddressBook();

private:
    std::vector<char> header_, copy_, result_;
    std::vector<HostWindow> windows_;
    std::unique_ptr<SHalyardAddrBook> book_;
};

// One "Group.idx" record.
std::string IndexRecord(const std::string& card, const std::string& name, const std::string& address);

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

// A scratch data folder and a fake compose window with it.
class ComposeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void Write(const std::string& relative, const std::string& bytes);
    // Lists the cards in the folder AddrBook/@Main/<folder>.
    void WriteFolder(const std::string& folder, const std::vector<CardFields>& cards);

    test::TempDir dir;
    FakeComposeScope scope;
    HostWindow window = nullptr;
};

}  // namespace tmpltest
