// Helpers of the Windows glue tests: the host's registry key of the test
// prefix and the plug-in's resources.
#pragma once

#include <windows.h>

#include <string>

#include "common/platform.h"

namespace test {

constexpr char kHostKeyPath[] = "Software\\RimArts\\B2\\Settings";

// Creates the host key for a test and removes what the test put there.
class HostKey {
public:
    HostKey() {
        HKEY probe = nullptr;
        existed_ = RegOpenKeyExA(HKEY_CURRENT_USER, kHostKeyPath, 0, KEY_READ, &probe) == ERROR_SUCCESS;
        if (probe) RegCloseKey(probe);
        RegCreateKeyExA(HKEY_CURRENT_USER, kHostKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
    }
    ~HostKey() {
        if (key_) {
            RegDeleteValueA(key_, "AddrInputFmt");
            RegDeleteValueA(key_, "Citation");
            RegCloseKey(key_);
        }
        if (!existed_) RegDeleteKeyA(HKEY_CURRENT_USER, kHostKeyPath);
    }
    HostKey(const HostKey&) = delete;
    HostKey& operator=(const HostKey&) = delete;

    bool Valid() const { return key_ != nullptr; }
    void SetDword(const char* name, DWORD value) {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    void SetString(const char* name, const std::string& value) {
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    void SetBinary(const char* name, const void* data, DWORD size) {
        RegSetValueExA(key_, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    }
    void Delete(const char* name) { RegDeleteValueA(key_, name); }

private:
    HKEY key_ = nullptr;
    bool existed_ = false;
};

// The plug-in library's resources as the module of the platform seam.
class PluginResources {
public:
    PluginResources()
        : module_(LoadLibraryExA(HALYARD_DLL_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        previous_ = platform::Module();
        if (module_) platform::SetModule(module_);
    }
    ~PluginResources() {
        platform::SetModule(previous_);
        if (module_) FreeLibrary(module_);
    }
    PluginResources(const PluginResources&) = delete;
    PluginResources& operator=(const PluginResources&) = delete;
    bool Loaded() const { return module_ != nullptr; }

private:
    HMODULE module_;
    void* previous_;
};

}  // namespace test
