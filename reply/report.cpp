// The log of replies to people missing from the address book. The file is
// created when missing and only ever appended to.
#include "reply/report.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "addressbook/address_format.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "reply/report_lines.h"
#include "resources/string_ids.h"

namespace {

constexpr const char* kReportCaption = "Halyard";
constexpr size_t kLineOverhead = 8;   // quotes, tab, CR LF and room to spare

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20; }

bool HoldsControl(const char* text) {
    return std::any_of(text, text + std::strlen(text), IsControl);
}

// Appends the line unless the file names the person already. Returns 0, or
// the string number of the failure. The file is closed on return.
unsigned AppendReportLine(const char* path, std::string_view quotedName,
                          std::string_view address) {
    platform::File file = platform::File::OpenAlways(path);
    if (!file.IsOpen()) return kStrCannotOpenFile;

    std::string line;
    line.append(quotedName).append("\t").append(address).append("\r\n");

    uint64_t size = 0;
    if (!file.Size(&size)) return kStrCannotReadFile;
    // Room for a line break before the new line, should the last one lack it.
    if (size > UINT32_MAX || size + line.size() + 2 > UINT32_MAX) return kStrFileTooLarge;

    const size_t length = static_cast<size_t>(size);
    std::unique_ptr<char[]> contents(new (std::nothrow) char[length + 1]);
    if (!contents) return kStrNoMemoryForReport;
    size_t total = 0;
    while (total < length) {
        uint32_t got = 0;
        if (!file.Read(contents.get() + total, static_cast<uint32_t>(length - total), &got) ||
            got == 0)
            return kStrCannotReadFile;
        total += got;
    }
    contents[length] = '\0';

    if (ReportHasEntry(std::string_view(contents.get(), length), quotedName, address)) return 0;

    // A last line written by hand without its line break must not run into
    // ours; one ended by a CR alone gets its LF (an empty line would end the
    // duplicate scan before ours).
    if (length > 0 && contents[length - 1] == '\r') line.insert(0, "\n");
    else if (length > 0 && contents[length - 1] != '\n') line.insert(0, "\r\n");
    if (!file.SeekEnd() || !file.Write(line.data(), static_cast<uint32_t>(line.size()))) {
        // A disk that fills up part-way takes some of the line: no half
        // line is left for the next append to run into.
        file.Truncate(length);
        return kStrCannotWriteFile;
    }
    return 0;
}

}  // namespace

unsigned AppendMissingAddress(const char* reportFile, const char* token) {
    if (!reportFile || !token) return 0;

    char name[kNameSize];
    char address[kNameSize];
    SplitAddress(name, sizeof name, address, sizeof address, token);
    // A line is "name"<TAB>address<CR><LF>: a TAB or line break inside a
    // field would split it where the duplicate scan does not expect it. A
    // name unfolded from a folded header may hold one; an address may not.
    if (HoldsControl(address)) return 0;
    std::replace_if(name, name + std::strlen(name), IsControl, ' ');
    char quotedName[kNameSize];
    QuoteReportName(name, quotedName, sizeof quotedName);

    const size_t addressLength = std::strlen(address);
    if (addressLength == 0 || !std::strchr(address, '@')) return 0;
    if (std::strlen(quotedName) + addressLength + kLineOverhead >= kNameSize) return 0;

    return AppendReportLine(reportFile, quotedName, address);
}

void ReportMissingAddress(const char* reportFile, const char* token) {
    ShowReportFailure(AppendMissingAddress(reportFile, token));
}

void ShowReportFailure(unsigned failure) {
    if (failure) ShowStringBox(nullptr, failure, kReportCaption, platform::kMbIconWarning);
}
