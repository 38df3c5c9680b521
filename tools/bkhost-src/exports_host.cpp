// The host's general functions: version, windows, commands, folders.
#include "host_call.h"
#include "host_exports.h"
#include "host_memory.h"
#include "transcript.h"

#include <cstring>

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

LPCSTR WINAPI BKA_GetVersion() {
    SHostCall call("BKA_GetVersion");
    return TheHost().version.c_str();
}

void WINAPI BKA_Command(HWND, LPCSTR) {
    SHostCall call("BKA_Command");
   
}

BOOL WINAPI BKA_GetWindowHandles(HWND* main, HWND* tree, HWND* list, HWND* view) {
    SHostCall call("BKA_GetWindowHandles");
    const SHostState& host = TheHost();
    if (main) *main = host.mainWindow;
    if (tree) *tree = host.treeWindow;
    if (list) *list = host.listWindow;
    if (view) *view = host.viewWindow;
    return TRUE;
}

UINT WINAPI BKA_RegisterCommand(LPCSTR comment, int target, SCommandProc proc) {
    SHostCall call("BKA_RegisterCommand");
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
    SHostCall call("BKA_RegisterUICallback");
    if (!proc) Complain("BKA_RegisterUICallback got no procedure");
    return command;
}

LPCSTR WINAPI BKA_GetDataFolder() {
    SHostCall call("BKA_GetDataFolder");
    RaiseIfFailing("BKA_GetDataFolder");
    return HostHeap().Answer(TheHost().dataFolder);
}

LPCSTR WINAPI BKA_GetTempFolder() {
    SHostCall call("BKA_GetTempFolder");
    return HostHeap().Answer(TheHost().tempFolder);
}

LPCSTR WINAPI BKA_GetTempFileName(LPCSTR type) {
    SHostCall call("BKA_GetTempFileName");
    static unsigned counter = 0;
    std::string name = TheHost().tempFolder + "bkhost" + std::to_string(++counter);
    if (type && *type) name += std::string(".") + type;
    return HostHeap().Answer(name);
}

LPCSTR WINAPI BKA_GetCurrentMailBox() {
    SHostCall call("BKA_GetCurrentMailBox");
    return HostHeap().Answer(TheHost().mailbox);
}

void WINAPI BKA_SetCurrentMailBox(LPCSTR mailbox) {
    SHostCall call("BKA_SetCurrentMailBox");
    TheHost().mailbox = mailbox ? mailbox : "";
}

LPCSTR WINAPI BKA_GetCurrentFolder() {
    SHostCall call("BKA_GetCurrentFolder");
    RaiseIfFailing("BKA_GetCurrentFolder");
    return HostHeap().Answer(TheHost().folder);
}

void WINAPI BKA_SetCurrentFolder(LPCSTR folder) {
    SHostCall call("BKA_SetCurrentFolder");
    TheHost().folder = folder ? folder : "";
}

LPCSTR WINAPI BKA_GetFolderDisplayName(LPCSTR folder) {
    SHostCall call("BKA_GetFolderDisplayName");
    std::string id = folder ? folder : "";
    while (!id.empty() && id.back() == '\\') id.pop_back();
    size_t slash = id.rfind('\\');
    std::string name = slash == std::string::npos ? id : id.substr(slash + 1);
    if (!name.empty() && name[0] == '!') name.erase(0, 1);
    return HostHeap().Answer(name);
}

void WINAPI BKA_SetMessageText(HWND, LPCSTR) {
    SHostCall call("BKA_SetMessageText");
   
}

LPCSTR WINAPI BKA_GetCurrentMail() {
    SHostCall call("BKA_GetCurrentMail");
    const SHostState& host = TheHost();
    return HostHeap().Answer(host.mailId.empty() ? host.folder + "?00000001" : host.mailId);
}

void WINAPI BKA_SetCurrentMail(LPCSTR mail) {
    SHostCall call("BKA_SetCurrentMail");
    TheHost().mailId = mail ? mail : "";
}

int WINAPI BKA_GetNextMail(int, LPSTR mail, int size, BOOL) {
    SHostCall call("BKA_GetNextMail");
    CopyToBuffer("BKA_GetNextMail", "", mail, size);
    return -1;
}

void WINAPI BKA_SetSel(LPCSTR, BOOL) {
    SHostCall call("BKA_SetSel");
   
}

BOOL WINAPI BKA_AppendMessage(LPCSTR, LPCSTR) {
    SHostCall call("BKA_AppendMessage");
    return FALSE;
}

BOOL WINAPI BKA_MoveSelectedMessages(LPCSTR, BOOL) {
    SHostCall call("BKA_MoveSelectedMessages");
    return FALSE;
}

DWORD WINAPI BKA_GetStatus(LPCSTR) {
    SHostCall call("BKA_GetStatus");
    return 0;
}

HWND WINAPI BKA_ComposeMail(LPCSTR) {
    SHostCall call("BKA_ComposeMail");
    return nullptr;
}

BOOL WINAPI BKA_Connect(BOOL) {
    SHostCall call("BKA_Connect");
    return FALSE;
}

DWORD WINAPI BKA_SetStatus(LPCSTR, DWORD, DWORD) {
    SHostCall call("BKA_SetStatus");
    return 0;
}

BOOL WINAPI BKA_NextUnread(BOOL, BOOL) {
    SHostCall call("BKA_NextUnread");
    return FALSE;
}

int WINAPI BKA_ProcessMail(LPCSTR) {
    SHostCall call("BKA_ProcessMail");
    return 0;
}

DWORD WINAPI BKA_GetSize(LPCSTR) {
    SHostCall call("BKA_GetSize");
    return 0;
}

BOOL WINAPI BKA_MoveMessages(LPCSTR, LPCSTR, BOOL) {
    SHostCall call("BKA_MoveMessages");
    return FALSE;
}

}  // extern "C"
