#include "settings/settings_path.h"

#include <cstring>
#include <string>

#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "common/text.h"
#include "resources/string_ids.h"

namespace {

constexpr size_t kFileNameMax = 256;   // file name and extension, each

// Offset just past the last backslash or slash, stepping over double-byte
// characters, whose second byte may equal a backslash.
size_t FileNameStart(const char* path) {
    size_t start = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
            ++i;
            continue;
        }
        if (path[i] == '\\' || path[i] == '/') start = i + 1;
    }
    return start;
}

bool CopyOut(const std::string& path, char* out, size_t outSize) {
    if (path.size() >= outSize) {
        if (outSize) out[0] = '\0';
        return false;
    }
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

bool SettingsFileBeside(const char* modulePath, char* out, size_t outSize) {
    std::string path = modulePath ? modulePath : "";
    size_t name = FileNameStart(path.c_str());
    size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= name) path.resize(dot);
    path += ".ini";
    return CopyOut(path, out, outSize);
}

bool LocateSettingsFileIn(const char* modulePath, const char* appDataFolder, char* out,
                          size_t outSize, bool* copyFailed) {
    if (copyFailed) *copyFailed = false;
    char beside[kPathSize];
    if (!SettingsFileBeside(modulePath, beside, sizeof beside)) {
        if (outSize) out[0] = '\0';
        return false;
    }
    if (!appDataFolder || !*appDataFolder) return CopyOut(beside, out, outSize);

    const char* fileName = beside + FileNameStart(beside);
    const char* dot = std::strrchr(fileName, '.');
    size_t baseLength = dot ? static_cast<size_t>(dot - fileName) : std::strlen(fileName);
    size_t extensionLength = dot ? std::strlen(dot) : 0;
    if (baseLength > kFileNameMax || extensionLength > kFileNameMax)
        return CopyOut(beside, out, outSize);

    const std::string folder = JoinPath(appDataFolder, kVendorFolder);
    if (folder.size() >= kPathSize) return CopyOut(beside, out, outSize);
    if (!platform::IsDirectory(folder.c_str()) && !platform::CreateDirectories(folder.c_str()))
        return CopyOut(beside, out, outSize);

    std::string perUser = folder + '\\' + fileName;
    if (perUser.size() >= kPathSize || perUser.size() >= outSize)
        return CopyOut(beside, out, outSize);
    // Never over anything already there, be it a file or a folder. A copy
    // that fails (a full disk) leaves no file there, and the user's settings
    // are read and written beside the library instead of being left behind.
    if (platform::FileExists(beside) && !platform::FileExists(perUser.c_str()) &&
        !platform::IsDirectory(perUser.c_str()) &&
        !platform::CopyFileNoOverwrite(beside, perUser.c_str())) {
        if (copyFailed) *copyFailed = true;
        return CopyOut(beside, out, outSize);
    }
    return CopyOut(perUser, out, outSize);
}

bool LocateSettingsFile(const char* modulePath, char* out, size_t outSize) {
    bool copyFailed = false;
    const bool found =
        LocateSettingsFileIn(modulePath, platform::AppDataFolder().c_str(), out, outSize, &copyFailed);
    if (copyFailed)
        ShowStringBox(nullptr, kStrSettingsNotCopied, kStrErrorCaption, platform::kMbIconWarning);
    return found;
}
