// Owners of the WinHTTP and CNG handles of the update check, on the
// pattern of common/win32_handles.h.
#pragma once

#include <windows.h>
#include <bcrypt.h>
#include <winhttp.h>

#include "common/win32_handles.h"

namespace win32 {

struct WinHttpTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { WinHttpCloseHandle(h); }
};

struct BCryptAlgorithmTraits {
    using Handle = BCRYPT_ALG_HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { BCryptCloseAlgorithmProvider(h, 0); }
};

struct BCryptKeyTraits {
    using Handle = BCRYPT_KEY_HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { BCryptDestroyKey(h); }
};

struct BCryptHashTraits {
    using Handle = BCRYPT_HASH_HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { BCryptDestroyHash(h); }
};

using ScopedInternet = UniqueHandle<WinHttpTraits>;   // sessions, connections, requests
using ScopedAlgorithm = UniqueHandle<BCryptAlgorithmTraits>;
using ScopedKey = UniqueHandle<BCryptKeyTraits>;
using ScopedHash = UniqueHandle<BCryptHashTraits>;

}  // namespace win32
