#include "fuzz/support/fuzz_host.h"

#include <cstring>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "settings/settings.h"

namespace fuzz {

namespace {

constexpr int kUtf8CodePage = 65001;
constexpr int kLocalCodePage = 1252;

char* HandOut(const std::string& text) {
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    ++Window().liveTexts;
    return copy;
}

void HALYARD_WINAPI Free(void* text) {
    if (!text) return;
    delete[] static_cast<char*>(text);
    --Window().liveTexts;
}

int HALYARD_WINAPI CompGetCharSet(HostWindow, char* buffer, int size) {
    if (size > 0) CopyBounded(buffer, static_cast<size_t>(size), Window().utf8 ? "UTF-8" : "iso-8859-1");
    return Window().utf8 ? kUtf8CodePage : kLocalCodePage;
}

char* HALYARD_WINAPI CompGetText(HostWindow, char* mimeType, int size) {
    if (size > 0) CopyBounded(mimeType, static_cast<size_t>(size), Window().mimeType);
    return HandOut(Window().body);
}

void HALYARD_WINAPI CompSetText(HostWindow, int, const char* text) { Window().body = text; }

void HALYARD_WINAPI CompGetSpecifiedHeader(HostWindow, const char* name, char* buffer, int size) {
    ComposeWindow& window = Window();
    const bool to = EqualNoCaseAscii(name, "To");
    ++(to ? window.toReads : window.ccReads);
    const std::string& value = to ? window.to : EqualNoCaseAscii(name, "Cc") ? window.cc : "";
    // The host cuts a value to the buffer, as GetSpecifiedHeader does.
    if (size > 0) CopyBounded(buffer, static_cast<size_t>(size), value);
}

char* HALYARD_WINAPI Utf8(const char* text, HostBool toUtf8) {
    return HandOut(toUtf8 ? platform::AnsiToUtf8(text) : platform::Utf8ToAnsi(text));
}

const char* HALYARD_WINAPI EmptyFolder() { return ""; }

}  // namespace

ComposeWindow& Window() {
    static ComposeWindow window;
    return window;
}

HostWindow WindowHandle() {
    static int window;
    return &window;
}

FuzzHost::FuzzHost(SHalyardAddrBook* book)
    : settings_(std::make_unique<SSettings>(SSettings::DefaultsTag{})),
      header_(kListSize, '\0'),
      copy_(kListSize, '\0'),
      result_(kListSize, '\0'),
      work_{host_, settings_.get(), book, {header_.data(), copy_.data(), result_.data()},
            nullptr, "Halyard", "0"} {
    host_.Free = Free;
    host_.CompGetCharSet = CompGetCharSet;
    host_.CompGetText = CompGetText;
    host_.CompSetText = CompSetText;
    host_.CompGetSpecifiedHeader = CompGetSpecifiedHeader;
    host_.UTF_8 = Utf8;
    host_.GetDataFolder = EmptyFolder;
    host_.GetCurrentFolder = EmptyFolder;
}

FuzzHost::~FuzzHost() = default;

}  // namespace fuzz
