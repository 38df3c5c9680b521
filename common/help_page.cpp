#include "common/help_page.h"

#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "resources/string_ids.h"

namespace {

// The folder of a path, without its trailing separator; steps over
// double-byte characters, whose second byte may equal a backslash.
std::string FolderOf(const std::string& path) {
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\' || path[i] == '/') end = i;
    }
    return path.substr(0, end);
}

}  // namespace

std::string HelpPageAddress() {
    const std::string module = platform::ModuleFilePath();
    const std::string local = platform::LoadResString(kStrLocalHelpPage);
    if (!module.empty() && !local.empty()) {
        std::string page = JoinPath(FolderOf(module), local);
        if (page.size() < kPathSize && platform::FileExists(page.c_str())) return page;
    }
    return platform::LoadResString(kStrHelpPage);
}

void OpenHelpPage(void* owner) {
    if (!platform::OpenWithShell(owner, HelpPageAddress())) ShowErrorBox(owner, kStrCannotOpenHelp);
}
