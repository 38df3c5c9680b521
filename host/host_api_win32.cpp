// Binds the host's functions from its executable, by plain name.
#include "host/host_api.h"

#include <windows.h>

#include "common/platform.h"

// The member of that name, not the Win32 macro.
#undef GetTempFileName

namespace {

template <typename Fn>
bool Bind(const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(platform::ProgramExport(name));
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
    void* host = platform::ProgramModule();
    if (!host) return false;

    bool ok = Bind("BKA_GetVersion", GetVersion) &&
              Bind("BKA_Command", Command) &&
              Bind("BKA_GetWindowHandles", GetWindowHandles) &&
              Bind("BKA_RegisterCommand", RegisterCommand) &&
              Bind("BKA_RegisterUICallback", RegisterUICallback) &&
              Bind("BKA_GetDataFolder", GetDataFolder) &&
              Bind("BKA_GetTempFolder", GetTempFolder) &&
              Bind("BKA_GetTempFileName", GetTempFileName) &&
              Bind("BKA_GetCurrentMailBox", GetCurrentMailBox) &&
              Bind("BKA_SetCurrentMailBox", SetCurrentMailBox) &&
              Bind("BKA_GetCurrentFolder", GetCurrentFolder) &&
              Bind("BKA_SetCurrentFolder", SetCurrentFolder) &&
              Bind("BKA_GetFolderDisplayName", GetFolderDisplayName) &&
              Bind("BKA_SetMessageText", SetMessageText) &&
              Bind("BKA_GetCurrentMail", GetCurrentMail) &&
              Bind("BKA_SetCurrentMail", SetCurrentMail) &&
              Bind("BKA_GetNextMail", GetNextMail) &&
              Bind("BKA_SetSel", SetSel) &&
              Bind("BKA_AppendMessage", AppendMessage) &&
              Bind("BKA_MoveSelectedMessages", MoveSelectedMessages) &&
              Bind("BKA_GetStatus", GetStatus) &&
              Bind("BKA_ComposeMail", ComposeMail) &&
              Bind("BKA_GetCharSet", GetCharSet) &&
              Bind("BKA_GetSource", GetSource) &&
              Bind("BKA_SetSource", SetSource) &&
              Bind("BKA_GetHeader", GetHeader) &&
              Bind("BKA_GetText", GetText) &&
              Bind("BKA_SetText", SetText) &&
              Bind("BKA_GetSpecifiedHeader", GetSpecifiedHeader) &&
              Bind("BKA_SetSpecifiedHeader", SetSpecifiedHeader) &&
              Bind("BKA_CompGetCharSet", CompGetCharSet) &&
              Bind("BKA_CompGetSource", CompGetSource) &&
              Bind("BKA_CompSetSource", CompSetSource) &&
              Bind("BKA_CompGetHeader", CompGetHeader) &&
              Bind("BKA_CompGetSpecifiedHeader", CompGetSpecifiedHeader) &&
              Bind("BKA_CompSetSpecifiedHeader", CompSetSpecifiedHeader) &&
              Bind("BKA_CompGetText", CompGetText) &&
              Bind("BKA_CompSetText", CompSetText) &&
              Bind("BKA_CompAttachFile", CompAttachFile) &&
              Bind("BKA_Alloc", Alloc) &&
              Bind("BKA_ReAlloc", ReAlloc) &&
              Bind("BKA_Free", Free) &&
              Bind("BKA_ISO_2022_JP", ISO_2022_JP) &&
              Bind("BKA_ISO_2022_KR", ISO_2022_KR) &&
              Bind("BKA_HZ_GB2312", HZ_GB2312) &&
              Bind("BKA_ISO_8859_2", ISO_8859_2) &&
              Bind("BKA_EUC_JP", EUC_JP) &&
              Bind("BKA_UTF_7", UTF_7) &&
              Bind("BKA_UTF_8", UTF_8) &&
              Bind("BKA_B64Convert", B64Convert) &&
              Bind("BKA_QPConvert", QPConvert) &&
              Bind("BKA_MIMEHeader", MIMEHeader) &&
              Bind("BKA_SerializeRcpts", SerializeRcpts) &&
              Bind("BKA_Connect", Connect);
    if (!ok) {
        Clear();
        return false;
    }

    // Optional: a missing one stays null.
    Bind("BKA_SetStatus", SetStatus);
    Bind("BKA_NextUnread", NextUnread);
    Bind("BKA_ProcessMail", ProcessMail);
    Bind("BKA_GetSize", GetSize);
    Bind("BKA_MoveMessages", MoveMessages);

    // A newer host must offer the optional set.
    if (!IsOlderHostVersion(GetVersion()) && !SetStatus) {
        Clear();
        return false;
    }
    module = host;
    return true;
}
