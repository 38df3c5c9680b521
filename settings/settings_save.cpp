#include "settings/settings_save.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "common/platform.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/token_list.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The settings file's reader trims blanks around a value and drops one pair
// of enclosing quotes (' or "). A value it would change that way is written
// in double quotes, which the reader drops again.
std::string AsReadBack(std::string_view value) {
    const bool outerBlank = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool enclosed = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                          value.back() == value.front();
    if (!outerBlank && !enclosed) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

class ProfileWriter {
public:
    explicit ProfileWriter(const char* path) : path_(path) {}

    void Text(const char* section, const char* key, const char* value) {
        if (!platform::ProfileWriteString(section, key, AsReadBack(value).c_str(), path_)) ok_ = false;
    }
    void Int(const char* section, const char* key, int32_t value) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
        Text(section, key, text);
    }
    void Bool(const char* section, const char* key, bool value) {
        Text(section, key, value ? "1" : "0");
    }
    bool Ok() const { return ok_; }

private:
    const char* path_;
    bool ok_ = true;
};

}  // namespace

bool SaveSettings(SSettings& s) {
    if (!s.settingsPath || !*s.settingsPath) return false;
    ProfileWriter w(s.settingsPath);

    for (const ListKey& entry : kListKeys) {
        if (!entry.work) continue;
        (s.*entry.list).CopyFrom(s.*entry.work);
        w.Text(entry.section, entry.key, (s.*entry.list).Join().c_str());
    }
    for (const OptionKey& option : kOptionKeys) {
        if (option.flag) w.Bool(option.section, option.key, s.*option.flag);
        else w.Int(option.section, option.key, s.*option.number);
        // The report file follows the last of the options it belongs with.
        if (option.flag == &SSettings::reportSwitch)
            w.Text(kSectionSettings, kReportFileKey, s.reportFile);
    }
    return w.Ok();
}
