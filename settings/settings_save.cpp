#include "settings/settings_save.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "common/platform.h"
#include "common/small_file.h"
#include "settings/ini_text.h"
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

// Sets the keys into the settings file's text in memory; the file itself
// is replaced once, whole, when every key is in.
class IniWriter {
public:
    explicit IniWriter(std::string text) : text_(std::move(text)) {}

    void Text(const char* section, const char* key, const char* value) {
        SetIniValue(&text_, section, key, AsReadBack(value));
    }
    void Int(const char* section, const char* key, int32_t value) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
        Text(section, key, text);
    }
    void Bool(const char* section, const char* key, bool value) {
        Text(section, key, value ? "1" : "0");
    }
    const std::string& Result() const { return text_; }

private:
    std::string text_;
};

// The settings file as it stands; a missing one is empty. False when it is
// there but cannot be read (held by another program, a folder in the way):
// a save must not write over what it could not read.
bool ReadSettingsText(const char* path, std::string* text) {
    if (!platform::FileExists(path) && !platform::IsDirectory(path)) return true;
    const SSmallFile file(path);
    if (!file.Contents()) return false;
    text->assign(file.Contents(), file.Size());
    return true;
}

}  // namespace

bool SaveSettings(SSettings& s) {
    // The lists take their edits first: a save that fails keeps them for
    // this session all the same.
    for (const ListKey& entry : kListKeys)
        if (entry.work) (s.*entry.list).CopyFrom(s.*entry.work);
    if (!s.settingsPath || !*s.settingsPath) return false;
    std::string text;
    if (!ReadSettingsText(s.settingsPath, &text)) return false;
    IniWriter w(std::move(text));

    for (const ListKey& entry : kListKeys) {
        if (!entry.work) continue;
        w.Text(entry.section, entry.key, (s.*entry.list).Join().c_str());
    }
    for (const OptionKey& option : kOptionKeys) {
        if (option.flag) w.Bool(option.section, option.key, s.*option.flag);
        else w.Int(option.section, option.key, s.*option.number);
        // The report file follows the last of the options it belongs with.
        if (option.flag == &SSettings::reportSwitch)
            w.Text(kSectionSettings, kReportFileKey, s.reportFile);
    }
    return platform::ReplaceFileContents(s.settingsPath, w.Result());
}
