// Every user option of the plug-in, read once at start from the settings
// INI file, plus two values of the host's registry key.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "common/sizes.h"
#include "resources/string_ids.h"
#include "settings/token_list.h"

constexpr size_t kCitationSize = 128;

class SSettings {
public:
    // Reads everything; throws std::runtime_error when reading fails.
    explicit SSettings(const char* settingsPath);
    virtual ~SSettings();
    SSettings(const SSettings&) = delete;
    SSettings& operator=(const SSettings&) = delete;

    // Re-reads "AddrInputFmt" from the host's registry (before each compose).
    void RefreshHostAddressFormat();

    // An object with every default, read from nothing (tests, and the
    // reference for what a missing file yields).
    struct DefaultsTag {};
    explicit SSettings(DefaultsTag);

    const char* settingsPath = nullptr;     // not owned
    TokenList domainsWork;
    TokenList attachWordsWork;
    // Options of the settings file; their keys and defaults are in
    // settings_keys.h.
    bool useAddrBook = false;
    int32_t replyFormat = 0;
    int32_t arrange = 0;
    bool excludeReplyTo = false;
    bool selfExclude = false;
    bool serializeRcpts = false;
    bool addPluginHeader = false;
    bool reportSwitch = false;
    char reportFile[kPathSize] = {};
    bool ctrlNoEffect = false;
    bool replaceMessageView = false;
    int32_t replaceViewFormat = 0;
    bool inspect = false;
    TokenList attachWords;
    TokenList excludeSubject;
    TokenList excludeTo;
    TokenList excludeCc;
    TokenList excludeBcc;
    bool extendTemplate = false;
    TokenList domains;
    int32_t groupFormat = 0;
    int32_t hostAddressFormat = 2;
    bool ignoreCase = false;
    bool singleWarning = false;
    bool emptySubject = false;
    char citation[kCitationSize] = "> ";

    // The send check before a message leaves, and the warning before a
    // reply to all reveals a blind copy (section SendCheck).
    bool sendCheck = false;
    bool sendCheckOnlyOutside = false;   // confirm only when a recipient is outside
    TokenList trustedDomains;            // besides the own addresses' domains
    TokenList trustedDomainsWork;        // edited by the send-check settings dialog
    int32_t manyDomains = 0;             // outside domains that warn; 0 or less: never
    int32_t manyRecipients = 0;          // visible recipients that warn; 0 or less: never
    bool bccReplyAll = false;

};

// Maps the registry's "AddrInputFmt" number to an address format (0->2, 1->3, 2->1, else 2).
int32_t MapHostAddressFormat(uint32_t registryValue);
