/* The installer that the update tests download and start: it only leaves
   the marker file HalyardTestInstaller.txt, holding "installed", in the
   user's application-data folder, so that a test sees it ran. */
#include <windows.h>
#include <shlobj.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    static const char kText[] = "installed\r\n";
    char folder[MAX_PATH];
    char marker[MAX_PATH + 32];
    HANDLE file;
    DWORD written = 0;
    (void)instance; (void)previous; (void)commandLine; (void)show;
    if (FAILED(SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, folder))) return 1;
    wsprintfA(marker, "%s\\HalyardTestInstaller.txt", folder);
    file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    WriteFile(file, kText, sizeof kText - 1, &written, NULL);
    CloseHandle(file);
    return written == sizeof kText - 1 ? 0 : 1;
}
