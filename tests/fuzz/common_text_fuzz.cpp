// Feeds arbitrary bytes to the text helpers that read address-book and
// header data, in both code pages, and checks what must always hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform_testing.h"
#include "common/text.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    platform::testing::SetAnsiCodePage((data[0] & 1) ? 932 : 1252);
    const char delimiter = static_cast<char>(data[1]);
    std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);

    size_t kana = 0;
    IsShiftJis(input.data(), input.size(), &kana);
    Check(kana <= input.size());

    char out[512];
    std::memset(out, 'x', sizeof out);
    if (ConvertIfUtf8(input.data(), input.size(), out, sizeof out)) {
        Check(std::memchr(out, '\0', sizeof out) != nullptr);
    }
    std::string terminated(input);
    CopyLocalText(terminated.c_str());

    // Joining the pieces again gives the text back.
    std::vector<std::string> parts = SplitAt(input, delimiter);
    std::string joined;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) joined += delimiter;
        joined += parts[i];
    }
    Check(joined == input);

    std::vector<char> value(input.begin(), input.end());
    size_t decoded = DecodeQuotedPrintable(value.data(), value.size());
    Check(decoded <= value.size());
    for (size_t i = decoded; i < value.size(); ++i) Check(value[i] == '\0');

    size_t half = input.size() / 2;
    std::string_view text = input.substr(0, half);
    std::string_view pattern = input.substr(half, input.size() - half < 8 ? input.size() - half : 8);
    size_t at = FindNoCase(text, pattern);
    if (at != std::string_view::npos) {
        Check(at + pattern.size() <= text.size());
        Check(EqualNoCaseAscii(text.substr(at, pattern.size()), pattern));
    }
    return 0;
}
