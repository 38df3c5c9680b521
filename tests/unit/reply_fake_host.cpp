#include "reply_fake_host.h"

#include <cstring>
#include <string>

#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "plugin/plugin_state.h"
#include "reply/plugin_version.h"

#if !defined(_WIN32)
#include "common/platform_testing.h"
#endif

namespace replytest {

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
    CopyOut(Lookup(Fake().compose, name), buffer, size);
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

char* HALYARD_WINAPI Utf8(const char* text, HostBool toUtf8) {
    if (Fake().utf8Fails) return nullptr;
    return HandOut(toUtf8 ? platform::AnsiToUtf8(text) : platform::Utf8ToAnsi(text));
}

char* HALYARD_WINAPI SerializeRcpts(const char* list) {
    auto rule = Fake().serialize.find(list);
    if (rule == Fake().serialize.end()) return HandOut(list);
    return rule->second ? HandOut(*rule->second) : nullptr;
}

void HALYARD_WINAPI Free(void* text) {
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

char* HALYARD_WINAPI CompGetText(HostWindow, char* type, int size) {
    CopyOut("text/plain", type, size);
    return nullptr;
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
    : header_(kListSize, '\0'), copy_(kListSize, '\0'), result_(kListSize, '\0') {
    Fake() = FakeHost();
#if !defined(_WIN32)
    platform::testing::Reset();
    SetPluginVersionTexts("Halyard", "4.1.3.0");
#endif
    HostApi& host = Host();
    host.Clear();
    host.CompGetSpecifiedHeader = CompGetSpecifiedHeader;
    host.CompSetSpecifiedHeader = CompSetSpecifiedHeader;
    host.GetSpecifiedHeader = GetSpecifiedHeader;
    host.CompGetCharSet = CompGetCharSet;
    host.UTF_8 = Utf8;
    host.SerializeRcpts = SerializeRcpts;
    host.Free = Free;
    host.GetDataFolder = GetDataFolder;
    host.GetCurrentFolder = GetCurrentFolder;
    host.GetCurrentMailBox = GetCurrentMailBox;
    host.GetWindowHandles = GetWindowHandles;
    host.CompGetText = CompGetText;

    PluginState& state = Plugin();
    state.settings = &settings_;
    state.headerBuffer = header_.data();
    state.copyBuffer = copy_.data();
    state.resultBuffer = result_.data();
    state.addrBook = nullptr;
    state.templates = nullptr;
    state.addrBookChanged = 0;
    ChooseCompareAddress(settings_.ignoreCase);
}

FakeHostScope::~FakeHostScope() {
    PluginState& state = Plugin();
    state.settings = nullptr;
    state.headerBuffer = state.copyBuffer = state.resultBuffer = nullptr;
    state.addrBook = nullptr;
    state.templates = nullptr;
    Host().Clear();
    ChooseCompareAddress(false);
#if !defined(_WIN32)
    platform::testing::Reset();
#endif
}

void FakeHostScope::LoadAddressBook() {
    book_ = std::make_unique<SHalyardAddrBook>(JoinPath(Fake().dataFolder, "AddrBook").c_str());
    Plugin().addrBook = book_.get();
}

std::string ListOfSize(size_t size, char tag) {
    std::string list;
    for (int i = 0; list.size() < size; ++i) {
        if (!list.empty()) list += ',';
        list += tag + std::to_string(i) + "@example.com";
    }
    list.resize(size - 1);
    list += 'z';
    return list;
}

std::string Record(const std::string& name, const std::string& address) {
    return "0\t0\tcard.vcf\t" + name + "\t" + address + "\t0\r\n";
}

void ReplyTest::SetUp() {
#if defined(_WIN32)
    Fake().dataFolder = dir.Path() + "\\";   // ends with a separator, as the host's
#else
    Fake().dataFolder = dir.Path() + "/";
#endif
    Fake().mailBox = "1234.mb\\";
    Fake().currentFolder = "1234.mb\\!Inbox\\";
    Write("1234.mb/MailBox.ini", "[Account]\r\nMailAddress=me@example.org\r\n");
    Write("AddrBook/@Main/Friends/Group.idx",
          Record("Ann Smith", "ann@example.com") + Record("Bob Jones", "bob@example.com"));
    Write("AddrBook/@Main/Work/Group.idx", Record("Ann at Work", "ann@example.com"));
    scope.LoadAddressBook();
}

void ReplyTest::Write(const std::string& relative, const std::string& bytes) {
    test::WriteBytes(dir.Join(relative), bytes);
}

std::string Compose(const std::string& name) { return Lookup(Fake().compose, name.c_str()); }

}  // namespace replytest
