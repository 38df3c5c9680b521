#include "settings/update_check.h"

#include <string>

#include "common/string_box.h"
#include "halyard_version.h"
#include "common/win32_handles.h"
#include "quillon/quillon.h"
#include "resources/string_ids.h"
#include "settings/update_source.h"

namespace {

constexpr char kProductName[] = "Halyard";
constexpr wchar_t kCheckerFile[] = L"Quillon32.dll";
constexpr DWORD kLongPath = 32768;

// Quillon32.dll from the folder of halyard, by full path: the system's
// search order is never asked. Empty when the module has no path.
std::wstring CheckerPath(HMODULE halyard) {
    std::wstring path(kLongPath, L'\0');
    const DWORD n = GetModuleFileNameW(halyard, &path[0], kLongPath);
    if (n == 0 || n >= kLongPath) return std::wstring();
    path.resize(n);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::wstring();
    return path.substr(0, slash + 1) + kCheckerFile;
}

}  // namespace

void StartUpdateCheck(HWND dialog, HMODULE halyard, const char* settingsPath) {
    const std::wstring path = CheckerPath(halyard);
    // Loaded here by full path; the delay-load import then finds the module
    // already in the process and binds to it.
    win32::ScopedLibrary checker(path.empty() ? nullptr : LoadLibraryExW(path.c_str(), nullptr, 0));
    if (!checker) {
        ShowStringBox(dialog, kStrUpdaterMissing, kStrUpdateCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    const std::string address = UpdateAnnouncementAddress(settingsPath);
    // The release's own number: the English version record keeps an older
    // patch level, which would have users offered the release they run.
    QuillonCheckForUpdate(dialog, kProductName, HALYARD_VERSION_TEXT, address.c_str());
}
