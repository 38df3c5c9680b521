#include "settings/dialog_rules.h"

DialogEnableState ComputeEnableState(bool useAddrBook, bool domainsEmpty, bool inspect,
                                     bool wordsEmpty) {
    DialogEnableState state{};
    state.replyFormat = useAddrBook;
    state.domainList = useAddrBook;
    state.groupFormat = useAddrBook && !domainsEmpty;
    // An emptied word list locks its Add button too until the dialog closes;
    // the next start fills the empty list with the default words again.
    state.wordsList = inspect && !wordsEmpty;
    return state;
}

int RadioIndexForValue(int32_t value) {
    return (value >= 1 && value < kRadioCount) ? static_cast<int>(value) : 0;
}

int32_t ValueFromRadios(const bool (&checked)[kRadioCount]) {
    for (int i = 0; i < kRadioCount; ++i) {
        if (checked[i]) return i;
    }
    return 0;
}

int32_t ArrangeFromRadios(bool defaultChecked, bool keepToChecked) {
    if (defaultChecked) return 0;
    return keepToChecked ? 1 : 0;
}

std::string FillPattern(std::string_view pattern, std::string_view value) {
    const size_t at = pattern.find("%s");
    if (at == std::string_view::npos) return std::string(pattern);
    std::string out(pattern.substr(0, at));
    out.append(value);
    out.append(pattern.substr(at + 2));
    return out;
}
