// Where each option lives in the settings file and what it is without one:
// the one table that reading, saving and the defaults share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/settings.h"

constexpr char kSectionSettings[] = "Settings";
constexpr char kSectionAttachment[] = "Attachment";
constexpr char kSectionGroupDomain[] = "GroupDomain";
constexpr char kSectionSendCheck[] = "SendCheck";

// A yes/no or numeric option; exactly one of flag and number is set.
struct OptionKey {
    const char* section;
    const char* key;
    int32_t fallback;
    bool SSettings::*flag;
    int32_t SSettings::*number;
};

// In the order the dialog's OK writes them.
constexpr OptionKey kOptionKeys[] = {
    {kSectionSettings, "UseAddrBook", 1, &SSettings::useAddrBook, nullptr},
    {kSectionSettings, "ReplyFormat", 2, nullptr, &SSettings::replyFormat},
    {kSectionSettings, "Arrange", 1, nullptr, &SSettings::arrange},
    {kSectionSettings, "ExcludeReplyTo", 1, &SSettings::excludeReplyTo, nullptr},
    {kSectionSettings, "SelfExclude", 1, &SSettings::selfExclude, nullptr},
    {kSectionSettings, "SerializeRcpts", 1, &SSettings::serializeRcpts, nullptr},
    {kSectionSettings, "ReportSwitch", 0, &SSettings::reportSwitch, nullptr},
    {kSectionSettings, "AddPluginHeader", 1, &SSettings::addPluginHeader, nullptr},
    {kSectionSettings, "CtrlNoEffect", 1, &SSettings::ctrlNoEffect, nullptr},
    {kSectionSettings, "ReplaceMessageView", 0, &SSettings::replaceMessageView, nullptr},
    {kSectionSettings, "ReplaceViewFormat", 0, nullptr, &SSettings::replaceViewFormat},
    {kSectionSettings, "ExtendTemplate", 1, &SSettings::extendTemplate, nullptr},
    {kSectionAttachment, "Inspect", 1, &SSettings::inspect, nullptr},
    {kSectionGroupDomain, "Format", 1, nullptr, &SSettings::groupFormat},
    {kSectionSettings, "IgnoreCase", 0, &SSettings::ignoreCase, nullptr},
    {kSectionSettings, "SingleWarning", 1, &SSettings::singleWarning, nullptr},
    {kSectionSettings, "EmptySubject", 1, &SSettings::emptySubject, nullptr},
    {kSectionSendCheck, "Enabled", 0, &SSettings::sendCheck, nullptr},
    {kSectionSendCheck, "OnlyOutside", 1, &SSettings::sendCheckOnlyOutside, nullptr},
    {kSectionSendCheck, "ManyDomains", 3, nullptr, &SSettings::manyDomains},
    {kSectionSendCheck, "ManyRecipients", 15, nullptr, &SSettings::manyRecipients},
    {kSectionSendCheck, "BccReplyAll", 0, &SSettings::bccReplyAll, nullptr},
};

// The report file's key; its default depends on the system's folders.
constexpr char kReportFileKey[] = "ReportFile";

// A comma list; defaultId names the string that an empty value takes (0:
// none). The dialog edits and saves the lists with a working copy.
struct ListKey {
    const char* section;
    const char* key;
    unsigned defaultId;
    TokenList SSettings::*list;
    TokenList SSettings::*work;   // null: not edited by the dialog
};

constexpr ListKey kListKeys[] = {
    {kSectionAttachment, "AttachWords", kStrDefaultAttachWords, &SSettings::attachWords,
     &SSettings::attachWordsWork},
    {kSectionGroupDomain, "Domains", 0, &SSettings::domains, &SSettings::domainsWork},
    {kSectionAttachment, "ExcludeSubject", 0, &SSettings::excludeSubject, nullptr},
    {kSectionAttachment, "ExcludeTo", 0, &SSettings::excludeTo, nullptr},
    {kSectionAttachment, "ExcludeCc", 0, &SSettings::excludeCc, nullptr},
    {kSectionAttachment, "ExcludeBcc", 0, &SSettings::excludeBcc, nullptr},
    {kSectionSendCheck, "TrustedDomains", 0, &SSettings::trustedDomains,
     &SSettings::trustedDomainsWork},
};

// Every option of the table at its default.
inline void ApplyOptionDefaults(SSettings& settings) {
    for (const OptionKey& option : kOptionKeys) {
        if (option.flag) settings.*option.flag = option.fallback != 0;
        else settings.*option.number = option.fallback;
    }
}
