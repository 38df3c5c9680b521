#include "reply/plugin_version.h"

#include "common/version.h"
#include "plugin/plugin_state.h"

const char* PluginFileDescription() {
    const SVersion* version = Plugin().version;
    return version ? version->Text(VersionText::FileDescription) : "";
}

const char* PluginFileVersion() {
    const SVersion* version = Plugin().version;
    return version ? version->Text(VersionText::FileVersion) : "";
}
