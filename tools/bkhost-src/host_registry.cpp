#include "host_registry.h"

#include <windows.h>

#include <mutex>

#include "common/win32_handles.h"

namespace {

constexpr wchar_t kHostKey[] = L"Software\\RimArts\\B2\\Settings";
constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// One redirected value and what it held before.
struct SSavedValue {
    HKEY root = nullptr;
    const wchar_t* name = nullptr;
    bool existed = false;
    DWORD type = REG_EXPAND_SZ;
    std::wstring value;
    bool redirected = false;
    const wchar_t* fallback = L"";   // Wine's own value
};

SSavedValue g_saved[2];
std::mutex g_restoreLock;

win32::ScopedRegKey OpenKey(HKEY root, const wchar_t* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, access, &key) != ERROR_SUCCESS) return win32::ScopedRegKey();
    return win32::ScopedRegKey(key);
}

win32::ScopedRegKey CreateKey(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return win32::ScopedRegKey();
    return win32::ScopedRegKey(key);
}

bool Save(SSavedValue* saved) {
    const win32::ScopedRegKey key = OpenKey(saved->root, kShellFolders, KEY_READ);
    if (!key) {
        saved->existed = false;
        return true;
    }
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    LONG status = RegQueryValueExW(key.Get(), saved->name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    saved->existed = status == ERROR_SUCCESS;
    if (saved->existed) {
        saved->type = type;
        saved->value = buffer;
    }
    // A run that was ended before it could restore the value leaves it
    // naming its removed scratch folder: Wine's own default goes back.
    wchar_t expanded[MAX_PATH] = {};
    const DWORD n = saved->existed ? ExpandEnvironmentStringsW(saved->value.c_str(), expanded, MAX_PATH) : 0;
    if (saved->existed && n > 0 && n <= MAX_PATH &&
        GetFileAttributesW(expanded) == INVALID_FILE_ATTRIBUTES) {
        saved->type = REG_EXPAND_SZ;
        saved->value = saved->fallback;
    }
    return true;
}

bool Write(HKEY root, const wchar_t* name, DWORD type, const std::wstring& value) {
    const win32::ScopedRegKey key = CreateKey(root, kShellFolders);
    if (!key) return false;
    LONG status = RegSetValueExW(key.Get(), name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return status == ERROR_SUCCESS;
}

win32::ScopedRegKey OpenHostKey() { return CreateKey(HKEY_CURRENT_USER, kHostKey); }

}  // namespace

void UnmanagedWineWindows() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = wcsrchr(path, L'\\');
    name = name ? name + 1 : path;
    std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + name + L"\\X11 Driver";
    const win32::ScopedRegKey handle = CreateKey(HKEY_CURRENT_USER, key.c_str());
    if (!handle) return;
    static const wchar_t kNo[] = L"N";
    RegSetValueExW(handle.Get(), L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNo), sizeof kNo);
}

bool ClearHostKey() {
    LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, kHostKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
    return OpenHostKey().IsValid();
}

bool SetHostDword(const char* name, unsigned long value) {
    const win32::ScopedRegKey key = OpenHostKey();
    if (!key) return false;
    DWORD data = value;
    LONG status = RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                 sizeof data);
    return status == ERROR_SUCCESS;
}

bool SetHostString(const char* name, const std::string& ansi) {
    const win32::ScopedRegKey key = OpenHostKey();
    if (!key) return false;
    LONG status = RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.c_str()),
                                 static_cast<DWORD>(ansi.size() + 1));
    return status == ERROR_SUCCESS;
}

bool RedirectShellFolders(const std::wstring& appdata, const std::wstring& commondata) {
    std::lock_guard<std::mutex> lock(g_restoreLock);
    g_saved[0].root = HKEY_CURRENT_USER;
    g_saved[0].name = L"AppData";
    g_saved[0].fallback = L"%USERPROFILE%\\AppData\\Roaming";
    g_saved[1].root = HKEY_LOCAL_MACHINE;
    g_saved[1].name = L"Common AppData";
    g_saved[1].fallback = L"%ProgramData%";
    const std::wstring* targets[2] = {&appdata, &commondata};
    for (int i = 0; i < 2; ++i) {
        Save(&g_saved[i]);
        if (!Write(g_saved[i].root, g_saved[i].name, REG_EXPAND_SZ, *targets[i])) return false;
        g_saved[i].redirected = true;
    }
    return true;
}

void RestoreShellFolders() {
    std::lock_guard<std::mutex> lock(g_restoreLock);
    for (SSavedValue& saved : g_saved) {
        if (!saved.redirected) continue;
        saved.redirected = false;
        if (saved.existed) {
            Write(saved.root, saved.name, saved.type, saved.value);
        } else {
            if (const win32::ScopedRegKey key = OpenKey(saved.root, kShellFolders, KEY_WRITE))
                RegDeleteValueW(key.Get(), saved.name);
        }
    }
}
