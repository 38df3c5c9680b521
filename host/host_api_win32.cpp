// Binds the host's functions from its executable, by plain name.
#include "host/host_api.h"

#include <windows.h>

// The member of that name, not the Win32 macro.
#undef GetTempFileName

namespace {

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return slot != nullptr;
}

constexpr int kOlderVersionMaxLength = 7;
constexpr char kFirstVersionWithOptional[] = "2.00.06";

}  // namespace

bool IsOlderHostVersion(const char* version) {
    if (!version) version = "";
    return lstrlenA(version) <= kOlderVersionMaxLength &&
           lstrcmpA(version, kFirstVersionWithOptional) < 0;
}

bool HostApi::Init() {
    if (Bound()) return true;
    HMODULE host = GetModuleHandleA(nullptr);
    if (!host) return false;

    bool ok = Bind(host, "BKA_GetVersion", GetVersion) &&
              Bind(host, "BKA_Command", Command) &&
              Bind(host, "BKA_GetWindowHandles", GetWindowHandles) &&
              Bind(host, "BKA_RegisterCommand", RegisterCommand) &&
              Bind(host, "BKA_RegisterUICallback", RegisterUICallback) &&
              Bind(host, "BKA_GetDataFolder", GetDataFolder) &&
              Bind(host, "BKA_GetTempFolder", GetTempFolder) &&
              Bind(host, "BKA_GetTempFileName", GetTempFileName) &&
              Bind(host, "BKA_GetCurrentMailBox", GetCurrentMailBox) &&
              Bind(host, "BKA_SetCurrentMailBox", SetCurrentMailBox) &&
              Bind(host, "BKA_GetCurrentFolder", GetCurrentFolder) &&
              Bind(host, "BKA_SetCurrentFolder", SetCurrentFolder) &&
              Bind(host, "BKA_GetFolderDisplayName", GetFolderDisplayName) &&
              Bind(host, "BKA_SetMessageText", SetMessageText) &&
              Bind(host, "BKA_GetCurrentMail", GetCurrentMail) &&
              Bind(host, "BKA_SetCurrentMail", SetCurrentMail) &&
              Bind(host, "BKA_GetNextMail", GetNextMail) &&
              Bind(host, "BKA_SetSel", SetSel) &&
              Bind(host, "BKA_AppendMessage", AppendMessage) &&
              Bind(host, "BKA_MoveSelectedMessages", MoveSelectedMessages) &&
              Bind(host, "BKA_GetStatus", GetStatus) &&
              Bind(host, "BKA_ComposeMail", ComposeMail) &&
              Bind(host, "BKA_GetCharSet", GetCharSet) &&
              Bind(host, "BKA_GetSource", GetSource) &&
              Bind(host, "BKA_SetSource", SetSource) &&
              Bind(host, "BKA_GetHeader", GetHeader) &&
              Bind(host, "BKA_GetText", GetText) &&
              Bind(host, "BKA_SetText", SetText) &&
              Bind(host, "BKA_GetSpecifiedHeader", GetSpecifiedHeader) &&
              Bind(host, "BKA_SetSpecifiedHeader", SetSpecifiedHeader) &&
              Bind(host, "BKA_CompGetCharSet", CompGetCharSet) &&
              Bind(host, "BKA_CompGetSource", CompGetSource) &&
              Bind(host, "BKA_CompSetSource", CompSetSource) &&
              Bind(host, "BKA_CompGetHeader", CompGetHeader) &&
              Bind(host, "BKA_CompGetSpecifiedHeader", CompGetSpecifiedHeader) &&
              Bind(host, "BKA_CompSetSpecifiedHeader", CompSetSpecifiedHeader) &&
              Bind(host, "BKA_CompGetText", CompGetText) &&
              Bind(host, "BKA_CompSetText", CompSetText) &&
              Bind(host, "BKA_CompAttachFile", CompAttachFile) &&
              Bind(host, "BKA_Alloc", Alloc) &&
              Bind(host, "BKA_ReAlloc", ReAlloc) &&
              Bind(host, "BKA_Free", Free) &&
              Bind(host, "BKA_ISO_2022_JP", ISO_2022_JP) &&
              Bind(host, "BKA_ISO_2022_KR", ISO_2022_KR) &&
              Bind(host, "BKA_HZ_GB2312", HZ_GB2312) &&
              Bind(host, "BKA_ISO_8859_2", ISO_8859_2) &&
              Bind(host, "BKA_EUC_JP", EUC_JP) &&
              Bind(host, "BKA_UTF_7", UTF_7) &&
              Bind(host, "BKA_UTF_8", UTF_8) &&
              Bind(host, "BKA_B64Convert", B64Convert) &&
              Bind(host, "BKA_QPConvert", QPConvert) &&
              Bind(host, "BKA_MIMEHeader", MIMEHeader) &&
              Bind(host, "BKA_SerializeRcpts", SerializeRcpts) &&
              Bind(host, "BKA_Connect", Connect);
    if (!ok) {
        Clear();
        return false;
    }

    // Optional: a missing one stays null.
    Bind(host, "BKA_SetStatus", SetStatus);
    Bind(host, "BKA_NextUnread", NextUnread);
    Bind(host, "BKA_ProcessMail", ProcessMail);
    Bind(host, "BKA_GetSize", GetSize);
    Bind(host, "BKA_MoveMessages", MoveMessages);

    // A newer host must offer the optional set.
    if (!IsOlderHostVersion(GetVersion()) && !SetStatus) {
        Clear();
        return false;
    }
    module = host;
    return true;
}
