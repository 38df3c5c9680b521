#include "settings/settings_save.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/platform.h"
#include "settings/settings.h"
#include "settings/token_list.h"

namespace {

constexpr char kSettings[] = "Settings";
constexpr char kAttachment[] = "Attachment";
constexpr char kGroupDomain[] = "GroupDomain";

class ProfileWriter {
public:
    explicit ProfileWriter(const char* path) : path_(path) {}

    void Text(const char* section, const char* key, const char* value) {
        if (!platform::ProfileWriteString(section, key, value, path_)) ok_ = false;
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

TokenNode* NodeAt(const TokenList& list, size_t index) {
    TokenNode* node = list.First();
    for (size_t i = 0; node && i < index; ++i) node = node->next;
    return node;
}

}  // namespace

bool SaveSettings(SSettings& s) {
    if (!s.settingsPath || !*s.settingsPath) return false;
    ProfileWriter w(s.settingsPath);

    s.attachWords.CopyFrom(s.attachWordsWork);
    w.Text(kAttachment, "AttachWords", s.attachWords.Join().c_str());
    s.domains.CopyFrom(s.domainsWork);
    w.Text(kGroupDomain, "Domains", s.domains.Join().c_str());

    w.Bool(kSettings, "UseAddrBook", s.useAddrBook);
    w.Int(kSettings, "ReplyFormat", s.replyFormat);
    w.Int(kSettings, "Arrange", s.arrange);
    w.Bool(kSettings, "ExcludeReplyTo", s.excludeReplyTo);
    w.Bool(kSettings, "SelfExclude", s.selfExclude);
    w.Bool(kSettings, "SerializeRcpts", s.serializeRcpts);
    w.Bool(kSettings, "ReportSwitch", s.reportSwitch);
    w.Text(kSettings, "ReportFile", s.reportFile);
    w.Bool(kSettings, "AddPluginHeader", s.addPluginHeader);
    w.Bool(kSettings, "CtrlNoEffect", s.ctrlNoEffect);
    w.Bool(kSettings, "ReplaceMessageView", s.replaceMessageView);
    w.Int(kSettings, "ReplaceViewFormat", s.replaceViewFormat);
    w.Bool(kSettings, "ExtendTemplate", s.extendTemplate);
    w.Bool(kAttachment, "Inspect", s.inspect);
    w.Int(kGroupDomain, "Format", s.groupFormat);
    w.Bool(kSettings, "IgnoreCase", s.ignoreCase);
    w.Bool(kSettings, "SingleWarning", s.singleWarning);
    w.Bool(kSettings, "EmptySubject", s.emptySubject);
    return w.Ok();
}

bool ReplaceTokenAt(TokenList& list, size_t index, const char* text, size_t length) {
    if (!NodeAt(list, index)) return false;
    std::vector<std::string> texts;
    for (TokenNode* n = list.First(); n; n = n->next) texts.emplace_back(n->text, n->length);
    texts[index].assign(text, length);
    list.Clear();
    for (const std::string& t : texts) list.Append(t);
    return true;
}

bool RemoveTokenAt(TokenList& list, size_t index) {
    TokenNode* node = NodeAt(list, index);
    if (!node) return false;
    list.Remove(node);
    return true;
}
