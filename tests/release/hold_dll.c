/* Keeps a DLL mapped as a loaded image, as a running host keeps its plug-ins,
 * until a stop file appears (at most 10 minutes):
 *   hold_dll.exe DLL READY-FILE STOP-FILE
 * DllMain is not run: the DLL only has to be in use. */
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    HMODULE dll = LoadLibraryExA(argv[1], NULL, DONT_RESOLVE_DLL_REFERENCES);
    if (!dll) return 1;
    HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    for (int waited = 0; waited < 600 * 10; ++waited) {
        if (GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(100);
    }
    FreeLibrary(dll);
    return 0;
}
