// The host functions, exported from the executable under their plain names
// (bkhost.def) with the calling convention and types of the real host.
#pragma once

#include <windows.h>

#include "host_state.h"

extern "C" {

LPCSTR WINAPI BKA_GetVersion();
void WINAPI BKA_Command(HWND window, LPCSTR command);
BOOL WINAPI BKA_GetWindowHandles(HWND* main, HWND* tree, HWND* list, HWND* view);
UINT WINAPI BKA_RegisterCommand(LPCSTR comment, int target, SCommandProc proc);
UINT WINAPI BKA_RegisterUICallback(UINT command, SUiProc proc);
LPCSTR WINAPI BKA_GetDataFolder();
LPCSTR WINAPI BKA_GetTempFolder();
LPCSTR WINAPI BKA_GetTempFileName(LPCSTR type);
LPCSTR WINAPI BKA_GetCurrentMailBox();
void WINAPI BKA_SetCurrentMailBox(LPCSTR mailbox);
LPCSTR WINAPI BKA_GetCurrentFolder();
void WINAPI BKA_SetCurrentFolder(LPCSTR folder);
LPCSTR WINAPI BKA_GetFolderDisplayName(LPCSTR folder);
void WINAPI BKA_SetMessageText(HWND window, LPCSTR message);
LPCSTR WINAPI BKA_GetCurrentMail();
void WINAPI BKA_SetCurrentMail(LPCSTR mail);
int WINAPI BKA_GetNextMail(int start, LPSTR mail, int size, BOOL selectedOnly);
void WINAPI BKA_SetSel(LPCSTR mail, BOOL select);
BOOL WINAPI BKA_AppendMessage(LPCSTR folder, LPCSTR data);
BOOL WINAPI BKA_MoveSelectedMessages(LPCSTR folder, BOOL copy);
DWORD WINAPI BKA_GetStatus(LPCSTR mail);
HWND WINAPI BKA_ComposeMail(LPCSTR url);
int WINAPI BKA_GetCharSet(LPCSTR mail, LPSTR charset, int size);
LPSTR WINAPI BKA_GetSource(LPCSTR mail);
void WINAPI BKA_SetSource(LPCSTR mail, LPCSTR source);
LPSTR WINAPI BKA_GetHeader(LPCSTR mail);
LPSTR WINAPI BKA_GetText(LPSTR mimeType, int size);
void WINAPI BKA_SetText(int mode, LPCSTR text);
void WINAPI BKA_GetSpecifiedHeader(LPCSTR header, LPSTR buffer, int size);
void WINAPI BKA_SetSpecifiedHeader(LPCSTR header, LPCSTR value);
int WINAPI BKA_CompGetCharSet(HWND window, LPSTR charset, int size);
LPSTR WINAPI BKA_CompGetSource(HWND window);
void WINAPI BKA_CompSetSource(HWND window, LPCSTR source);
LPSTR WINAPI BKA_CompGetHeader(HWND window);
void WINAPI BKA_CompGetSpecifiedHeader(HWND window, LPCSTR header, LPSTR buffer, int size);
void WINAPI BKA_CompSetSpecifiedHeader(HWND window, LPCSTR header, LPCSTR value);
LPSTR WINAPI BKA_CompGetText(HWND window, LPSTR mimeType, int size);
void WINAPI BKA_CompSetText(HWND window, int mode, LPCSTR text);
void WINAPI BKA_CompAttachFile(HWND window, LPCSTR path, LPCSTR mimeType);
LPVOID WINAPI BKA_Alloc(DWORD size);
LPVOID WINAPI BKA_ReAlloc(LPVOID block, DWORD size);
void WINAPI BKA_Free(LPVOID block);
LPSTR WINAPI BKA_ISO_2022_JP(LPCSTR source, BOOL encode);
LPSTR WINAPI BKA_ISO_2022_KR(LPCSTR source, BOOL encode);
LPSTR WINAPI BKA_HZ_GB2312(LPCSTR source, BOOL encode);
LPSTR WINAPI BKA_ISO_8859_2(LPCSTR source, BOOL encode);
LPSTR WINAPI BKA_EUC_JP(LPCSTR source, BOOL encode);
LPSTR WINAPI BKA_UTF_7(LPCSTR source, BOOL encode);
LPSTR WINAPI BKA_UTF_8(LPCSTR source, BOOL encode);
BOOL WINAPI BKA_B64Convert(LPCSTR outputFile, LPCSTR inputFile, BOOL encode);
BOOL WINAPI BKA_QPConvert(LPCSTR outputFile, LPCSTR inputFile, BOOL encode);
LPSTR WINAPI BKA_MIMEHeader(LPCSTR input, LPSTR charset, int size, BOOL encode);
LPSTR WINAPI BKA_SerializeRcpts(LPCSTR addresses);
BOOL WINAPI BKA_Connect(BOOL connect);

// Optional; bkhost-nosetstatus.exe leaves BKA_SetStatus out of its exports.
DWORD WINAPI BKA_SetStatus(LPCSTR mail, DWORD set, DWORD clear);
BOOL WINAPI BKA_NextUnread(BOOL backScroll, BOOL goNext);
int WINAPI BKA_ProcessMail(LPCSTR mail);
DWORD WINAPI BKA_GetSize(LPCSTR mail);
BOOL WINAPI BKA_MoveMessages(LPCSTR folder, LPCSTR mails, BOOL copy);

}  // extern "C"

// Copies text into a caller's buffer of size bytes, cut to fit, always
// terminated; complains about a missing buffer.
void CopyToBuffer(const char* function, std::string_view text, char* buffer, int size);
