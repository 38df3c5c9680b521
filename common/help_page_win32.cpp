#include "common/help_page.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/platform.h"
#include "common/string_box.h"
#include "resources/string_ids.h"

namespace {

constexpr INT_PTR kShellExecuteFailed = 32;  // ShellExecute answers above this on success

}  // namespace

void OpenHelpPage(void* owner) {
    const std::string page = HelpPageAddress();
    HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), "open", page.c_str(), nullptr,
                                     nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= kShellExecuteFailed)
        ShowErrorBox(owner, kStrCannotOpenHelp);
}
