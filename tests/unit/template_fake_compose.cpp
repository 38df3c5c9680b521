#include "template_fake_compose.h"

#include <cstring>

#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "plugin/plugin_state.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "common/platform_testing.h"
#endif

namespace tmpltest {

namespace {

char* HandOut(const std::string& text) {
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    ++Fake().liveTexts;
    return copy;
}

void HALYARD_WINAPI Free(void* block) {
    if (!block) return;
    --Fake().liveTexts;
    delete[] static_cast<char*>(block);
}

int HALYARD_WINAPI CompGetCharSet(HostWindow, char* buffer, int size) {
    CopyBounded(buffer, static_cast<size_t>(size), Fake().codePage == 65001 ? "UTF-8" : "");
    return Fake().codePage;
}

char* HALYARD_WINAPI CompGetText(HostWindow, char* mimeType, int size) {
    if (Fake().noBody) return nullptr;
    CopyBounded(mimeType, static_cast<size_t>(size), Fake().mimeType);
    return HandOut(Fake().body);
}

void HALYARD_WINAPI CompSetText(HostWindow, int mode, const char* text) {
    EXPECT_EQ(mode, 0);
    Fake().body = text;
    ++Fake().setTextCalls;
}

void HALYARD_WINAPI CompGetSpecifiedHeader(HostWindow, const char* name, char* buffer, int size) {
    FakeCompose& fake = Fake();
    std::string value;
    if (++fake.headerReads <= fake.headerReadLimit) {
        auto found = fake.headers.find(name);
        if (found != fake.headers.end()) value = found->second;
    }
    CopyBounded(buffer, static_cast<size_t>(size), value);
}

char* HALYARD_WINAPI Utf8(const char* text, HostBool toUtf8) {
    return HandOut(toUtf8 ? platform::AnsiToUtf8(text) : platform::Utf8ToAnsi(text));
}

const char* HALYARD_WINAPI GetDataFolder() { return Fake().dataFolder.c_str(); }
const char* HALYARD_WINAPI GetCurrentFolder() { return Fake().currentFolder.c_str(); }

}  // namespace

FakeCompose& Fake() {
    static FakeCompose fake;
    return fake;
}

FakeComposeScope::FakeComposeScope()
    : header_(kListSize), copy_(kListSize), result_(kListSize) {
#if !defined(_WIN32)
    platform::testing::Reset();
#endif
    ChooseCompareAddress(false);
    Fake() = FakeCompose();
    HostApi& host = Host();
    host.Clear();
    host.CompGetCharSet = CompGetCharSet;
    host.CompGetText = CompGetText;
    host.CompSetText = CompSetText;
    host.CompGetSpecifiedHeader = CompGetSpecifiedHeader;
    host.UTF_8 = Utf8;
    host.Free = Free;
    host.GetDataFolder = GetDataFolder;
    host.GetCurrentFolder = GetCurrentFolder;
    Plugin().headerBuffer = header_.data();
    Plugin().copyBuffer = copy_.data();
    Plugin().resultBuffer = result_.data();
}

FakeComposeScope::~FakeComposeScope() {
    Plugin().addrBook = nullptr;
    Plugin().headerBuffer = nullptr;
    Plugin().copyBuffer = nullptr;
    Plugin().resultBuffer = nullptr;
    for (HostWindow window : windows_) CloseWindow(window);
    Host().Clear();
#if !defined(_WIN32)
    platform::testing::Reset();
#endif
}

HostWindow FakeComposeScope::NewWindow() {
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

void FakeComposeScope::CloseWindow(HostWindow window) {
#if defined(_WIN32)
    DestroyWindow(static_cast<HWND>(window));
#else
    platform::testing::SetWindowGone(window, true);
#endif
}

void FakeComposeScope::LoadAddressBook() {
    book_ = std::make_unique<SHalyardAddrBook>(JoinPath(Fake().dataFolder, "AddrBook").c_str());
    Plugin().addrBook = book_.get();
}

std::string IndexRecord(const std::string& card, const std::string& name, const std::string& address) {
    return "id\t0\t" + card + "\t" + name + "\t" + address + "\t0\r\n";
}

std::string CardFile(const CardFields& f) {
    std::string card = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    if (!f.fullName.empty()) card += "FN:" + f.fullName + "\r\n";
    if (!f.family.empty() || !f.given.empty()) card += "N:" + f.family + ";" + f.given + ";;;\r\n";
    if (!f.organization.empty() || !f.unit.empty()) card += "ORG:" + f.organization + ";" + f.unit + "\r\n";
    card += "EMAIL;PREF:" + f.address + "\r\n";
    card += "END:VCARD\r\n";
    return card;
}

void ComposeTest::SetUp() {
#if defined(_WIN32)
    Fake().dataFolder = dir.Path() + "\\";
#else
    Fake().dataFolder = dir.Path() + "/";
#endif
    window = scope.NewWindow();
}

void ComposeTest::Write(const std::string& relative, const std::string& bytes) {
    test::WriteBytes(dir.Join(relative), bytes);
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

}  // namespace tmpltest
