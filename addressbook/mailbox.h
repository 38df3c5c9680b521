// The user's own addresses, from the current mailbox's "MailBox.ini".
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/ini_file.h"

class SBeckyMailBox {
public:
    SBeckyMailBox(const char* dataFolder, const char* mailBox);
    virtual ~SBeckyMailBox();

    // [Account] key as a list of addresses (possibly none).
    std::vector<std::string> ReadAddressList(const char* key);
    const char* MailAddress();

private:
    std::unique_ptr<SIniFile> ini_;
};

// Removes the own address from list (in place, shorter than kListSize)
// unless it is a permanent copy address. work: kListSize bytes of scratch.
bool ExcludeSelf(char* list, bool isTo, const char* dataFolder, const char* mailBox,
                 char* work, size_t workSize);
