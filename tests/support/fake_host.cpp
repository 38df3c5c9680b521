#include "support/fake_host.h"

#include <cstdint>
#include <cstring>

#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "common/platform_testing.h"
#endif

namespace fakehost {

namespace {

char* HandOut(const std::string& text) {
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    ++Fake().liveTexts;
    return copy;
}

void CopyOut(const std::string& value, char* buffer, int size) {
    if (size <= 0) return;
    CopyBounded(buffer, static_cast<size_t>(size), value);
}

std::string Lookup(const std::map<std::string, std::string>& headers, const char* name) {
    for (const auto& [key, value] : headers)
        if (EqualNoCaseAscii(key, name)) return value;
    return "";
}

void HALYARD_WINAPI CompGetSpecifiedHeader(HostWindow, const char* name, char* buffer, int size) {
    FakeHost& fake = Fake();
    const bool answers = ++fake.headerReads <= fake.headerReadLimit;
    CopyOut(answers ? Lookup(fake.compose, name) : std::string(), buffer, size);
}

void HALYARD_WINAPI CompSetSpecifiedHeader(HostWindow, const char* name, const char* value) {
    Fake().compose[name] = value;
    Fake().written.push_back(name);
}

void HALYARD_WINAPI GetSpecifiedHeader(const char* name, char* buffer, int size) {
    CopyOut(Lookup(Fake().mail, name), buffer, size);
}

int HALYARD_WINAPI CompGetCharSet(HostWindow, char* buffer, int size) {
    CopyOut(Fake().codePage == 65001 ? "UTF-8" : "windows-1252", buffer, size);
    return Fake().codePage;
}

char* HALYARD_WINAPI CompGetText(HostWindow, char* mimeType, int size) {
    if (Fake().noBody) return nullptr;
    CopyOut(Fake().mimeType, mimeType, size);
    return HandOut(Fake().body);
}

void HALYARD_WINAPI CompSetText(HostWindow, int mode, const char* text) {
    EXPECT_EQ(mode, 0);
    Fake().body = text;
    ++Fake().setTextCalls;
}

char* HALYARD_WINAPI Utf8(const char* text, HostBool toUtf8) {
    if (Fake().utf8Fails) return nullptr;
    const std::string& failsOn = Fake().utf8FailsOn;
    if (!failsOn.empty() && std::string_view(text).find(failsOn) != std::string_view::npos) return nullptr;
    return HandOut(toUtf8 ? platform::AnsiToUtf8(text) : platform::Utf8ToAnsi(text));
}

char* HALYARD_WINAPI SerializeRcpts(const char* list) {
    auto rule = Fake().serialize.find(list);
    if (rule == Fake().serialize.end()) return HandOut(list);
    return rule->second ? HandOut(*rule->second) : nullptr;
}

void HALYARD_WINAPI Free(void* text) {
    if (!text) return;
    delete[] static_cast<char*>(text);
    --Fake().liveTexts;
}

const char* HALYARD_WINAPI GetDataFolder() { return Fake().dataFolder.c_str(); }
const char* HALYARD_WINAPI GetCurrentFolder() { return Fake().currentFolder.c_str(); }
const char* HALYARD_WINAPI GetCurrentMailBox() { return Fake().mailBox.c_str(); }

HostBool HALYARD_WINAPI GetWindowHandles(HostWindow*, HostWindow*, HostWindow*, HostWindow*) {
    ++Fake().windowHandleCalls;
    return 1;
}

}  // namespace

FakeHost& Fake() {
    static FakeHost fake;
    return fake;
}

HostWindow Window() {
    static int window;
    return &window;
}

FakeHostScope::FakeHostScope()
    : header_(kListSize, '\0'),
      copy_(kListSize, '\0'),
      result_(kListSize, '\0'),
      work{host, &settings_, nullptr, {header_.data(), copy_.data(), result_.data()},
           &addrBookChanges, "Halyard", "4.1.3.0"} {
    Fake() = FakeHost();
#if !defined(_WIN32)
    platform::testing::Reset();
#endif
    host.CompGetSpecifiedHeader = CompGetSpecifiedHeader;
    host.CompSetSpecifiedHeader = CompSetSpecifiedHeader;
    host.GetSpecifiedHeader = GetSpecifiedHeader;
    host.CompGetCharSet = CompGetCharSet;
    host.CompGetText = CompGetText;
    host.CompSetText = CompSetText;
    host.UTF_8 = Utf8;
    host.SerializeRcpts = SerializeRcpts;
    host.Free = Free;
    host.GetDataFolder = GetDataFolder;
    host.GetCurrentFolder = GetCurrentFolder;
    host.GetCurrentMailBox = GetCurrentMailBox;
    host.GetWindowHandles = GetWindowHandles;
    ChooseCompareAddress(settings_.ignoreCase);
}

FakeHostScope::~FakeHostScope() {
    for (HostWindow window : windows_) CloseWindow(window);
    ChooseCompareAddress(false);
#if !defined(_WIN32)
    platform::testing::Reset();
#endif
}

void FakeHostScope::LoadAddressBook() {
    book_ = std::make_unique<SHalyardAddrBook>(JoinPath(Fake().dataFolder, "AddrBook").c_str());
    work.addrBook = book_.get();
}

HostWindow FakeHostScope::NewWindow() {
#if defined(_WIN32)
    HostWindow window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
#else
    static uintptr_t next = 0x1000;
    HostWindow window = reinterpret_cast<HostWindow>(next += 0x10);
#endif
    EXPECT_TRUE(platform::WindowExists(window));
    windows_.push_back(window);
    return window;
}

void FakeHostScope::CloseWindow(HostWindow window) {
#if defined(_WIN32)
    DestroyWindow(static_cast<HWND>(window));
#else
    platform::testing::SetWindowGone(window, true);
#endif
}

std::string Compose(const std::string& name) { return Lookup(Fake().compose, name.c_str()); }

std::string Record(const std::string& name, const std::string& address) {
    return "0\t0\tcard.vcf\t" + name + "\t" + address + "\t0\r\n";
}

std::string IndexRecord(const std::string& card, const std::string& name,
                        const std::string& address) {
    return "id\t0\t" + card + "\t" + name + "\t" + address + "\t0\r\n";
}

std::string CardFile(const CardFields& f) {
    std::string card = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    if (!f.fullName.empty()) card += "FN:" + f.fullName + "\r\n";
    if (!f.family.empty() || !f.given.empty()) card += "N:" + f.family + ";" + f.given + ";;;\r\n";
    if (!f.organization.empty() || !f.unit.empty())
        card += "ORG:" + f.organization + ";" + f.unit + "\r\n";
    card += "EMAIL;PREF:" + f.address + "\r\n";
    card += "END:VCARD\r\n";
    return card;
}

void HostTest::SetUp() {
#if defined(_WIN32)
    Fake().dataFolder = dir.Path() + "\\";   // ends with a separator, as the host's
#else
    Fake().dataFolder = dir.Path() + "/";
#endif
}

void HostTest::Write(const std::string& relative, const std::string& bytes) {
    test::WriteBytes(dir.Join(relative), bytes);
}

void ReplyTest::SetUp() {
    HostTest::SetUp();
    Fake().mailBox = "1234.mb\\";
    Fake().currentFolder = "1234.mb\\!Inbox\\";
    Write("1234.mb/MailBox.ini", "[Account]\r\nMailAddress=me@example.org\r\n");
    Write("AddrBook/@Main/Friends/Group.idx",
          Record("Ann Smith", "ann@example.com") + Record("Bob Jones", "bob@example.com"));
    Write("AddrBook/@Main/Work/Group.idx", Record("Ann at Work", "ann@example.com"));
    scope.LoadAddressBook();
}

void ComposeTest::SetUp() {
    HostTest::SetUp();
    // An expansion that keeps repeating itself ends, and its test fails.
    Fake().headerReadLimit = 200;
    window = scope.NewWindow();
}

void ComposeTest::WriteFolder(const std::string& folder, const std::vector<CardFields>& cards) {
    std::string index;
    int number = 0;
    for (const CardFields& card : cards) {
        const std::string file = "card" + std::to_string(++number) + ".vcf";
        index += IndexRecord(file, card.fullName, card.address);
        Write("AddrBook/@Main/" + folder + "/" + file, CardFile(card));
    }
    Write("AddrBook/@Main/" + folder + "/Group.idx", index);
}

}  // namespace fakehost
