// The send check's options as its settings dialog edits them: held by the
// settings dialog until its OK saves them with everything else.
#pragma once

#include <cstdint>

#include "settings/settings.h"

struct SendCheckValues {
    bool enabled = false;
    bool onlyOutside = true;
    int32_t manyDomains = 0;
    int32_t manyRecipients = 0;
    bool bccReplyAll = false;
};

inline SendCheckValues SendCheckValuesOf(const SSettings& s) {
    return {s.sendCheck, s.sendCheckOnlyOutside, s.manyDomains, s.manyRecipients, s.bccReplyAll};
}

inline void ApplySendCheckValues(const SendCheckValues& values, SSettings& s) {
    s.sendCheck = values.enabled;
    s.sendCheckOnlyOutside = values.onlyOutside;
    s.manyDomains = values.manyDomains;
    s.manyRecipients = values.manyRecipients;
    s.bccReplyAll = values.bccReplyAll;
}
