#include "reply/plugin_version.h"

#include <string>

namespace {

std::string& Description() {
    static std::string text;
    return text;
}

std::string& Version() {
    static std::string text;
    return text;
}

}  // namespace

const char* PluginFileDescription() { return Description().c_str(); }
const char* PluginFileVersion() { return Version().c_str(); }

void SetPluginVersionTexts(const char* description, const char* version) {
    Description() = description ? description : "";
    Version() = version ? version : "";
}
