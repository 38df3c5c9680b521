// The exported entry point of Quillon32.dll.
#include <windows.h>
#include <commctrl.h>

#include <new>

#include "quillon/keys/trusted_keys.h"
#include "quillon/quillon.h"
#include "quillon/update_check_win32.h"

namespace {

HINSTANCE OwnInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnInstance), &module);
    return module;
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

extern "C" int WINAPI QuillonCheckForUpdate(HWND owner, const char* productName, const char* installedVersion,
                                            const char* announcementUrl) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // No exception may cross into the caller.
    try {
        UpdateRequest request;
        request.owner = owner;
        request.instance = OwnInstance();
        request.product = OrEmpty(productName);
        request.installedVersion = OrEmpty(installedVersion);
        request.address = OrEmpty(announcementUrl);
        request.keys = BuiltInTrustedKeys();
        return RunUpdateCheck(request);
    } catch (...) {
        return kQuillonFailed;
    }
}
