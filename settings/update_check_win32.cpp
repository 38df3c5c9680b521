#include "settings/update_check.h"

#include <string>

#include "common/platform.h"
#include "common/string_box.h"
#include "halyard_version.h"
#include "quillon/quillon.h"
#include "resources/string_ids.h"
#include "settings/update_source.h"

namespace {

constexpr char kProductName[] = "Halyard";
constexpr char kCheckerFile[] = "Quillon32.dll";

}  // namespace

void StartUpdateCheck(HWND dialog, const char* settingsPath) {
    // Loaded here from the plug-in's own folder by full path; the delay-load
    // import then finds the module already in the process and binds to it.
    const platform::ModuleReference checker = platform::LoadLibraryBesideModule(kCheckerFile);
    if (!checker) {
        ShowStringBox(dialog, kStrUpdaterMissing, kStrUpdateCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    const std::string address = UpdateAnnouncementAddress(settingsPath);
    // The release's own number: the English version record keeps an older
    // patch level, which would have users offered the release they run.
    QuillonCheckForUpdate(dialog, kProductName, HALYARD_VERSION_TEXT, address.c_str());
}
