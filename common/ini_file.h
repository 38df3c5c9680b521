// INI values of any length with stable pointers: the file is read on every
// call, and an unchanged value comes back at the same address.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/sizes.h"

class SIniFile {
public:
    explicit SIniFile(const char* path);
    virtual ~SIniFile();
    SIniFile(const SIniFile&) = delete;
    SIniFile& operator=(const SIniFile&) = delete;

    // The value, owned by this object; valid until destruction or until a
    // later call for the same key finds a different value.
    const char* GetString(const char* section, const char* key, const char* fallback);

private:
    struct Entry;
    struct Section;
    char path_[kPathSize] = {};
    std::vector<std::unique_ptr<Section>> sections_;
};
