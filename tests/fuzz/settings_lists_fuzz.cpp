// Feeds arbitrary settings files, and list edits as the settings dialog
// makes them, to the settings store. What must always hold: every list entry
// read is non-empty and holds no comma; and what the dialog's OK saves reads
// back the same at the next start, every list and option of it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform_testing.h"
#include "fuzz/support/fuzz_support.h"
#include "resources/string_ids.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/settings_save.h"
#include "settings/token_list.h"

namespace {

using fuzz::Check;

// What a list value holds at most when read (8191 characters).
constexpr size_t kListValueMax = 8191;
// A comma splits an entry; a line break or NUL cannot be typed into an entry.
constexpr std::string_view kNotInAValue{",\r\n\0", 4};

std::vector<std::string> Entries(const TokenList& list) { return {list.begin(), list.end()}; }

void CheckRead(const SSettings& settings) {
    for (const ListKey& key : kListKeys) {
        const TokenList& list = settings.*key.list;
        for (const std::string& entry : Entries(list)) {
            Check(!entry.empty() && entry.find(',') == std::string::npos, "entries split at commas");
        }
        Check(list.Join().size() <= kListValueMax, "a list no longer than its value");
        if (key.work) Check(Entries(settings.*key.work) == Entries(list), "working copy as read");
    }
}

// One edit line of the input: "a" appends, "r" replaces, "d" deletes; the
// byte after picks the entry, the rest is the typed text. A capital letter
// edits the domains, a small one the attachment words; a leading "+" makes
// the line edit the trusted domains of the send check. Like the dialog, an
// empty text changes nothing.
void Edit(SSettings& settings, std::string_view line) {
    const bool trusted = !line.empty() && line[0] == '+';
    if (trusted) line.remove_prefix(1);
    if (line.size() < 2) return;
    const char op = line[0];
    TokenList& list = trusted                     ? settings.trustedDomainsWork
                      : (op >= 'A' && op <= 'Z') ? settings.domainsWork
                                                 : settings.attachWordsWork;
    const size_t index = static_cast<unsigned char>(line[1]) % 8;
    const std::string_view text = line.substr(2);
    switch (op | 0x20) {
        case 'a':
            if (!text.empty()) list.Append(text);
            break;
        case 'r':
            if (!text.empty()) list.ReplaceAt(index, text);
            break;
        case 'd':
            list.RemoveAt(index);
            break;
        default:
            break;
    }
}

// Whether a saved list can come back as it was: the settings file keeps
// entries split at commas and cuts long values, as the dialog's rules say,
// and an entry holds what the edit field can hold.
bool Representable(const TokenList& list) {
    for (const std::string& entry : Entries(list)) {
        if (entry.find_first_of(kNotInAValue) != std::string::npos) return false;
    }
    return list.Join().size() < kListValueMax;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::testing::Reset();
    platform::testing::SetResString(kStrDefaultAttachWords, "attached,attachment,enclosed");
    // The settings file, a NUL, the edits one per line.
    const std::vector<std::string_view> pieces = fuzz::Pieces(fuzz::Text(data, size), 2);
    const std::string path = fuzz::WriteScratchFile("Halyard.ini", pieces[0]);

    SSettings settings(path.c_str());
    CheckRead(settings);

    std::string_view edits = pieces[1];
    while (!edits.empty()) {
        const size_t end = edits.find('\n');
        Edit(settings, edits.substr(0, end));
        edits.remove_prefix(end == std::string_view::npos ? edits.size() : end + 1);
    }
    for (const ListKey& key : kListKeys)
        if (key.work && !Representable(settings.*key.work)) return 0;

    Check(SaveSettings(settings), "settings saved");
    const SSettings again(path.c_str());
    CheckRead(again);
    for (const ListKey& key : kListKeys) {
        // An empty word list takes the default words again, as it should.
        if (key.defaultId != 0 && (settings.*key.list).Empty()) continue;
        Check(Entries(again.*key.list) == Entries(settings.*key.list), "saved list read back");
    }
    for (const OptionKey& option : kOptionKeys) {
        if (option.flag) Check(again.*option.flag == settings.*option.flag, "saved flag read back");
        else Check(again.*option.number == settings.*option.number, "saved number read back");
    }
    Check(std::string(again.reportFile) == settings.reportFile, "saved report file read back");
    return 0;
}
