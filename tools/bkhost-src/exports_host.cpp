// The host's general functions: version, windows, commands, folders.
#include "host_exports.h"
#include "transcript.h"

#include <cstring>

namespace {

// What the host answers for the current mail's identifier.
std::string& CurrentMailId() {
    static std::string id;
    return id;
}

}  // namespace

void CopyToBuffer(const char* function, std::string_view text, char* buffer, int size) {
    if (size <= 0) return;
    if (!buffer) {
        Complain(std::string(function) + " got no buffer for " + std::to_string(size) + " bytes");
        return;
    }
    size_t n = text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size) - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

extern "C" {

LPCSTR WINAPI BKA_GetVersion() { return TheHost().version.c_str(); }

void WINAPI BKA_Command(HWND, LPCSTR) {}

BOOL WINAPI BKA_GetWindowHandles(HWND* main, HWND* tree, HWND* list, HWND* view) {
    const SHostState& host = TheHost();
    if (main) *main = host.mainWindow;
    if (tree) *tree = host.treeWindow;
    if (list) *list = host.listWindow;
    if (view) *view = host.viewWindow;
    return TRUE;
}

UINT WINAPI BKA_RegisterCommand(LPCSTR comment, int target, SCommandProc proc) {
    SHostState& host = TheHost();
    if (!comment || !proc) {
        Complain("BKA_RegisterCommand got no text or no procedure");
        return 0;
    }
    SHostCommand command;
    command.text = comment;
    command.target = target;
    command.proc = proc;
    command.id = host.nextCommandId++;
    host.commands.push_back(command);
    return command.id;
}

UINT WINAPI BKA_RegisterUICallback(UINT command, SUiProc proc) {
    if (!proc) Complain("BKA_RegisterUICallback got no procedure");
    return command;
}

LPCSTR WINAPI BKA_GetDataFolder() {
    RaiseIfFailing("BKA_GetDataFolder");
    return TheHost().dataFolder.c_str();
}

LPCSTR WINAPI BKA_GetTempFolder() { return TheHost().tempFolder.c_str(); }

LPCSTR WINAPI BKA_GetTempFileName(LPCSTR type) {
    static unsigned counter = 0;
    SHostState& host = TheHost();
    host.tempFileName = host.tempFolder + "bkhost" + std::to_string(++counter);
    if (type && *type) host.tempFileName += std::string(".") + type;
    return host.tempFileName.c_str();
}

LPCSTR WINAPI BKA_GetCurrentMailBox() { return TheHost().mailbox.c_str(); }

void WINAPI BKA_SetCurrentMailBox(LPCSTR mailbox) { TheHost().mailbox = mailbox ? mailbox : ""; }

LPCSTR WINAPI BKA_GetCurrentFolder() {
    RaiseIfFailing("BKA_GetCurrentFolder");
    return TheHost().folder.c_str();
}

void WINAPI BKA_SetCurrentFolder(LPCSTR folder) { TheHost().folder = folder ? folder : ""; }

LPCSTR WINAPI BKA_GetFolderDisplayName(LPCSTR folder) {
    std::string id = folder ? folder : "";
    while (!id.empty() && id.back() == '\\') id.pop_back();
    size_t slash = id.rfind('\\');
    std::string name = slash == std::string::npos ? id : id.substr(slash + 1);
    if (!name.empty() && name[0] == '!') name.erase(0, 1);
    TheHost().folderDisplayName = name;
    return TheHost().folderDisplayName.c_str();
}

void WINAPI BKA_SetMessageText(HWND, LPCSTR) {}

LPCSTR WINAPI BKA_GetCurrentMail() {
    CurrentMailId() = TheHost().mailId.empty() ? TheHost().folder + "?00000001" : TheHost().mailId;
    return CurrentMailId().c_str();
}

void WINAPI BKA_SetCurrentMail(LPCSTR mail) { TheHost().mailId = mail ? mail : ""; }

int WINAPI BKA_GetNextMail(int, LPSTR mail, int size, BOOL) {
    CopyToBuffer("BKA_GetNextMail", "", mail, size);
    return -1;
}

void WINAPI BKA_SetSel(LPCSTR, BOOL) {}

BOOL WINAPI BKA_AppendMessage(LPCSTR, LPCSTR) { return FALSE; }

BOOL WINAPI BKA_MoveSelectedMessages(LPCSTR, BOOL) { return FALSE; }

DWORD WINAPI BKA_GetStatus(LPCSTR) { return 0; }

HWND WINAPI BKA_ComposeMail(LPCSTR) { return nullptr; }

BOOL WINAPI BKA_Connect(BOOL) { return FALSE; }

DWORD WINAPI BKA_SetStatus(LPCSTR, DWORD, DWORD) { return 0; }

BOOL WINAPI BKA_NextUnread(BOOL, BOOL) { return FALSE; }

int WINAPI BKA_ProcessMail(LPCSTR) { return 0; }

DWORD WINAPI BKA_GetSize(LPCSTR) { return 0; }

BOOL WINAPI BKA_MoveMessages(LPCSTR, LPCSTR, BOOL) { return FALSE; }

}  // extern "C"
