// Feeds arbitrary report files and recipients to the unlisted-address
// report. What must always hold: the file is only ever appended to, one
// whole line at a time; and a file whose lines the duplicate scan can read
// (each "name<TAB>address", ended by CR LF or CR, the last one maybe not
// ended) gets a person once: reporting the same recipient again adds
// nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook_reference_lookup.h"
#include "common/platform_testing.h"
#include "fuzz/support/fuzz_support.h"
#include "reply/report.h"
#include "reply/report_lines.h"

namespace {

using fuzz::Check;

// Whether every line of the file holds a TAB and no LF of its own, so that
// the scan reads the file to its end.
bool ScanReadsToTheEnd(std::string_view contents) {
    while (!contents.empty()) {
        const size_t cr = contents.find('\r');
        const std::string_view line = contents.substr(0, cr);
        if (line.find('\t') == std::string_view::npos || line.find('\n') != std::string_view::npos)
            return false;
        if (cr == std::string_view::npos) break;
        contents.remove_prefix(cr + 1);
        if (!contents.empty() && contents.front() == '\n') contents.remove_prefix(1);
    }
    return true;
}

std::string Contents(const std::string& path) { return reference::ReadWhole(path).value_or(""); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // First byte: bit 0 code page. Then the report file, a NUL, the recipient.
    platform::testing::SetAnsiCodePage((data[0] & 1) ? 932 : 1252);
    const std::vector<std::string_view> pieces = fuzz::Pieces(fuzz::Text(data + 1, size - 1), 2);
    const std::string before(pieces[0]);
    const std::string token(pieces[1].substr(0, pieces[1].find('\0')));
    const std::string path = fuzz::WriteScratchFile("NOENTRY.txt", before);

    ReportMissingAddress(path.c_str(), token.c_str());
    const std::string after = Contents(path);
    Check(after.compare(0, before.size(), before) == 0 && after.size() >= before.size(),
          "the report is only appended to");
    const std::string_view added = std::string_view(after).substr(before.size());
    if (!added.empty()) {
        Check(added.size() >= 2 && added.substr(added.size() - 2) == "\r\n", "a whole line added");
        Check(added.find('\t') != std::string_view::npos, "the added line has its TAB");
    }
    Check(platform::testing::TakeShownBoxes().empty(), "a writable report shows no message");

    if (!added.empty() && ScanReadsToTheEnd(before)) {
        ReportMissingAddress(path.c_str(), token.c_str());
        Check(Contents(path) == after, "the same person is reported once");
    }
    return 0;
}
