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
    // Records the object as the process-wide current settings object.
    SSettings(void* module, const char* settingsPath);
    virtual ~SSettings();
    SSettings(const SSettings&) = delete;
    SSettings& operator=(const SSettings&) = delete;

    // Re-reads "AddrInputFmt" from the host's registry (before each compose).
    void RefreshHostAddressFormat();

    static SSettings* Current();

    // An object with every default, read from nothing (tests, and the
    // reference for what a missing file yields). Also becomes Current().
    struct DefaultsTag {};
    explicit SSettings(DefaultsTag);

    void* module = nullptr;
    const char* settingsPath = nullptr;     // not owned
    void* buttonFaceBrush = nullptr;        // not owned
    void* dialogIcon = nullptr;             // owned by the dialog while open
    TokenList domainsWork;
    TokenList attachWordsWork;
    bool useAddrBook = true;
    int32_t replyFormat = 2;
    int32_t arrange = 1;
    bool excludeReplyTo = true;
    bool selfExclude = true;
    bool serializeRcpts = true;
    bool addPluginHeader = true;
    bool reportSwitch = false;
    char reportFile[kPathSize] = {};
    bool ctrlNoEffect = true;
    bool replaceMessageView = false;
    int32_t replaceViewFormat = 0;
    bool inspect = true;
    TokenList attachWords;
    TokenList excludeSubject;
    TokenList excludeTo;
    TokenList excludeCc;
    TokenList excludeBcc;
    bool extendTemplate = true;
    TokenList domains;
    int32_t groupFormat = 1;
    int32_t hostAddressFormat = 2;
    bool ignoreCase = false;
    bool singleWarning = true;
    bool emptySubject = true;
    char citation[kCitationSize] = "> ";

};

// Maps the registry's "AddrInputFmt" number to an address format (0->2, 1->3, 2->1, else 2).
int32_t MapHostAddressFormat(uint32_t registryValue);
