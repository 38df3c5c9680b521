#include "settings/settings.h"

#include <cstring>
#include <optional>
#include <string>

#include "common/platform.h"
#include "common/text.h"
#include "settings/settings_keys.h"
#include "settings/settings_path.h"

namespace {

// A list value is read through a buffer of this size (8191 characters).
constexpr size_t kListValueSize = 8192;
// "AddrInputFmt" is a number of at most 4 bytes.
constexpr size_t kAddressFormatBytes = 4;
constexpr int32_t kDefaultHostAddressFormat = 2;
constexpr char kDefaultCitation[] = "> ";

constexpr char kReportFileName[] = "NOENTRY.txt";

// Reads a comma list; an empty value with a default string takes that
// string and writes it under the key, so the file shows it next time.
void ReadList(TokenList* list, const char* section, const char* key, unsigned defaultId,
              const char* path) {
    std::string value(kListValueSize, '\0');
    value.resize(platform::ProfileGetString(section, key, "", &value[0], value.size(), path));
    if (value.empty() && defaultId != 0) {
        value = platform::LoadResString(defaultId, kListValueSize);
        if (!value.empty()) platform::ProfileWriteString(section, key, value.c_str(), path);
    }
    list->SplitFrom(value);
}

// The folder of a file path, without its last separator ("" when none).
std::string FolderOf(const char* path) {
    std::string p(path ? path : "");
    size_t cut = std::string::npos;
    for (size_t i = 0; i < p.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(p[i])) && i + 1 < p.size()) ++i;
        else if (p[i] == '\\' || p[i] == '/') cut = i;
    }
    return cut == std::string::npos ? std::string() : p.substr(0, cut);
}

// The default report file: NOENTRY.txt in the report folder under the
// common application-data folder, created when missing. Without that
// folder the report goes beside the settings file.
std::string DefaultReportFile(const char* settingsPath, bool createFolder) {
    std::string common = platform::CommonAppDataFolder();
    if (!common.empty()) {
        std::string folder = JoinPath(common, kVendorFolder);
        if (!createFolder || platform::IsDirectory(folder.c_str()) ||
            platform::CreateDirectories(folder.c_str())) {
            return JoinPath(folder, kReportFileName);
        }
    }
    std::string beside = FolderOf(settingsPath);
    return beside.empty() ? std::string(kReportFileName) : JoinPath(beside, kReportFileName);
}

// "AddrInputFmt" as the host stores it: a DWORD, or defensively a binary of
// up to 4 bytes or a short decimal string. Absent when unreadable.
std::optional<uint32_t> ReadAddressFormat() {
    std::optional<platform::RegistryValue> value = platform::ReadHostValue("AddrInputFmt");
    if (!value || value->data.empty() || value->data.size() > kAddressFormatBytes) return std::nullopt;
    const std::vector<uint8_t>& data = value->data;
    constexpr uint32_t kRegSz = 1;
    constexpr uint32_t kRegExpandSz = 2;
    if (value->type == kRegSz || value->type == kRegExpandSz) {
        uint32_t number = 0;
        bool digits = false;
        for (uint8_t c : data) {
            if (c == 0) break;
            if (c < '0' || c > '9') return std::nullopt;
            number = number * 10 + (c - '0');
            digits = true;
        }
        if (!digits) return std::nullopt;
        return number;
    }
    uint32_t number = 0;
    for (size_t i = 0; i < data.size(); ++i) number |= uint32_t{data[i]} << (8 * i);
    return number;
}

// The host's quotation mark; "> " when missing, unreadable or too long.
void ReadCitation(char (&citation)[kCitationSize]) {
    CopyBounded(citation, kCitationSize, kDefaultCitation);
    std::optional<platform::RegistryValue> value = platform::ReadHostValue("Citation");
    if (!value || value->data.size() > kCitationSize) return;
    const std::vector<uint8_t>& data = value->data;
    size_t length = 0;
    while (length < data.size() && data[length] != 0) ++length;
    if (length > kCitationSize - 1) return;
    std::memcpy(citation, data.data(), length);
    citation[length] = '\0';
}

}  // namespace

int32_t MapHostAddressFormat(uint32_t registryValue) {
    switch (registryValue) {
        case 0: return 2;   // name and address
        case 1: return 3;   // address and name in parentheses
        case 2: return 1;   // address only
        default: return kDefaultHostAddressFormat;
    }
}

SSettings::SSettings(const char* path) : settingsPath(path) {
    if (!path || !*path) throw std::runtime_error("no settings file");
    for (const OptionKey& option : kOptionKeys) {
        const int value = platform::ProfileGetInt(option.section, option.key, option.fallback, path);
        if (option.flag) this->*option.flag = value != 0;
        else this->*option.number = value;
    }

    std::string defaultReport = DefaultReportFile(path, /*createFolder=*/true);
    platform::ProfileGetString(kSectionSettings, kReportFileKey, defaultReport.c_str(), reportFile,
                               sizeof reportFile, path);
    if (!platform::FileExists(defaultReport.c_str())) {
        platform::ProfileWriteString(kSectionSettings, kReportFileKey, reportFile, path);
    }

    for (const ListKey& entry : kListKeys) {
        ReadList(&(this->*entry.list), entry.section, entry.key, entry.defaultId, path);
        if (entry.work) (this->*entry.work).CopyFrom(this->*entry.list);
    }

    hostAddressFormat = kDefaultHostAddressFormat;
    CopyBounded(citation, sizeof citation, kDefaultCitation);
    if (platform::HostKeyExists()) {
        ReadCitation(citation);
        if (std::optional<uint32_t> format = ReadAddressFormat()) {
            hostAddressFormat = MapHostAddressFormat(*format);
        }
    }
}

SSettings::SSettings(DefaultsTag) {
    ApplyOptionDefaults(*this);
    CopyBounded(reportFile, sizeof reportFile, DefaultReportFile(nullptr, /*createFolder=*/false));
    attachWords.SplitFrom(platform::LoadResString(kStrDefaultAttachWords, kListValueSize));
    attachWordsWork.CopyFrom(attachWords);
}

SSettings::~SSettings() = default;

void SSettings::RefreshHostAddressFormat() {
    hostAddressFormat = kDefaultHostAddressFormat;
    if (!platform::HostKeyExists()) return;
    if (std::optional<uint32_t> format = ReadAddressFormat()) {
        hostAddressFormat = MapHostAddressFormat(*format);
    }
}

