// A plug-in that exercises the headless host, for the host's own scenarios.
// BKC_OnOpenCompose carries out the instructions in the compose window's
// "X-Test" header, separated by ";", each "verb arg arg":
//   copy FROM TO       header FROM into header TO
//   hex FROM TO        header FROM as handed out, in hexadecimal, into TO
//   sethex TO HEX      header TO set to the bytes HEX
//   settext HEX        the text set to the bytes HEX
//   bodyhex TO         the text as handed out, in hexadecimal, and its MIME type
//   body               the text replaced by "[MIME] " and the text
//   utf8 FROM TO       BKA_UTF_8 (to UTF-8) of FROM, hexadecimal, into TO
//   unutf8 HEX TO      BKA_UTF_8 (from UTF-8) of the bytes HEX into TO
//   jis FROM TO        BKA_ISO_2022_JP (encode) of FROM, hexadecimal, into TO
//   unjis HEX TO       BKA_ISO_2022_JP (decode) of the bytes HEX into TO
//   serialize FROM TO  BKA_SerializeRcpts of FROM into TO ("NULL" for none)
//   mail NAME TO       the current mail's header NAME into TO
//   folders TO         data folder|mailbox|folder into TO
//   version TO         BKA_GetVersion into TO
//   charset TO         BKA_CompGetCharSet as "N NAME" into TO
//   ctrl TO            "down" or "up" into TO
//   registry TO        the host's AddrInputFmt and Citation into TO
//   appdata TO         the per-user and common application-data folders into TO
//   ini SECTION KEY TO the key from the per-user and the beside settings file
//   readfile PATH TO   a file under the data folder, in hexadecimal, into TO
//   writefile PATH FROM   header FROM written as a file under the data folder
//   box TYPE           a message box: text X-Box-Text, caption "Test Box",
//                      MB_ type number TYPE; the answer into X-Answer
//   leak               takes the text and never frees it
//   freetwice          frees one text twice
//   badwindow          asks for a header of the main window
//   crash              writes through a null pointer
//   result N           BKC_OnOpenCompose answers N
// Each of these breaks one of the host's rules on purpose:
//   keepanswer         uses the data folder's answer after the next host call
//   swallowed          the same through lstrcpynA, which swallows the fault
//   passanswer TO      (legal) hands the folder's answer straight to
//                      BKA_GetFolderDisplayName, the name into TO
//   keeptext           keeps the text past the call (readkept, freekept
//                      use it in a later call)
//   freeanswer         BKA_Free of the data folder's answer
//   freeforeign        BKA_Free of memory the host never handed out
//   holdbox TO         keeps the text while box 0 is up, then copies it into
//                      TO and frees it (legal: the call has not returned)
//   throw              a C++ exception leaves BKC_OnOpenCompose
//   throwcommand       the next command procedure throws
//   threadcrash        a thread of the plug-in writes through a null pointer
//   windowthrow        a window procedure of the plug-in throws
//   vanish             ends the process at once, as a crash nothing reports
// and the settings [Test] InfoHost=1 and InfoEmpty=1 make BKC_OnPlugInInfo
// call the host and leave the vendor empty.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using CommandProc = void(WINAPI*)(HWND, LPARAM);

struct SHost {
    LPCSTR(WINAPI* GetVersion)();
    BOOL(WINAPI* GetWindowHandles)(HWND*, HWND*, HWND*, HWND*);
    UINT(WINAPI* RegisterCommand)(LPCSTR, int, CommandProc);
    LPCSTR(WINAPI* GetDataFolder)();
    LPCSTR(WINAPI* GetCurrentMailBox)();
    LPCSTR(WINAPI* GetCurrentFolder)();
    void(WINAPI* GetSpecifiedHeader)(LPCSTR, LPSTR, int);
    int(WINAPI* CompGetCharSet)(HWND, LPSTR, int);
    void(WINAPI* CompGetSpecifiedHeader)(HWND, LPCSTR, LPSTR, int);
    void(WINAPI* CompSetSpecifiedHeader)(HWND, LPCSTR, LPCSTR);
    LPSTR(WINAPI* CompGetText)(HWND, LPSTR, int);
    void(WINAPI* CompSetText)(HWND, int, LPCSTR);
    void(WINAPI* Free)(LPVOID);
    LPSTR(WINAPI* UTF_8)(LPCSTR, BOOL);
    LPSTR(WINAPI* ISO_2022_JP)(LPCSTR, BOOL);
    LPSTR(WINAPI* SerializeRcpts)(LPCSTR);
    LPCSTR(WINAPI* GetFolderDisplayName)(LPCSTR);
};

SHost g_host;
HINSTANCE g_instance = nullptr;
HBITMAP g_bitmap = nullptr;
LPSTR g_kept = nullptr;          // keeptext: a text kept past its call
bool g_commandThrows = false;   // throwcommand
constexpr int kHeaderSize = 65536;

template <typename T>
bool Bind(HMODULE module, const char* name, T* function) {
    *function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *function != nullptr;
}

bool BindHost() {
    HMODULE host = GetModuleHandleA(nullptr);
    bool ok = Bind(host, "BKA_GetVersion", &g_host.GetVersion) &&
              Bind(host, "BKA_GetWindowHandles", &g_host.GetWindowHandles) &&
              Bind(host, "BKA_RegisterCommand", &g_host.RegisterCommand) &&
              Bind(host, "BKA_GetDataFolder", &g_host.GetDataFolder) &&
              Bind(host, "BKA_GetCurrentMailBox", &g_host.GetCurrentMailBox) &&
              Bind(host, "BKA_GetCurrentFolder", &g_host.GetCurrentFolder) &&
              Bind(host, "BKA_GetSpecifiedHeader", &g_host.GetSpecifiedHeader) &&
              Bind(host, "BKA_CompGetCharSet", &g_host.CompGetCharSet) &&
              Bind(host, "BKA_CompGetSpecifiedHeader", &g_host.CompGetSpecifiedHeader) &&
              Bind(host, "BKA_CompSetSpecifiedHeader", &g_host.CompSetSpecifiedHeader) &&
              Bind(host, "BKA_CompGetText", &g_host.CompGetText) &&
              Bind(host, "BKA_CompSetText", &g_host.CompSetText) &&
              Bind(host, "BKA_Free", &g_host.Free) &&
              Bind(host, "BKA_UTF_8", &g_host.UTF_8) &&
              Bind(host, "BKA_ISO_2022_JP", &g_host.ISO_2022_JP) &&
              Bind(host, "BKA_SerializeRcpts", &g_host.SerializeRcpts) &&
              Bind(host, "BKA_GetFolderDisplayName", &g_host.GetFolderDisplayName);
    if (!ok) return false;
    // The version rule of the real plug-in: an old host needs no BKA_SetStatus.
    LPCSTR version = g_host.GetVersion();
    if (lstrlenA(version) <= 7 && lstrcmpA(version, "2.00.06") < 0) return true;
    return GetProcAddress(host, "BKA_SetStatus") != nullptr;
}

std::string Utf8ToAnsi(const char* utf8) {
    wchar_t wide[512];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    char ansi[1024];
    if (n <= 0 || WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr) <= 0)
        return "?";
    return ansi;
}

std::string Header(HWND window, const std::string& name) {
    std::vector<char> buffer(kHeaderSize);
    g_host.CompGetSpecifiedHeader(window, name.c_str(), buffer.data(), kHeaderSize);
    return buffer.data();
}

void SetHeader(HWND window, const std::string& name, const std::string& value) {
    g_host.CompSetSpecifiedHeader(window, name.c_str(), value.c_str());
}

std::string Hex(const char* bytes) {
    std::string out;
    for (const char* p = bytes; *p; ++p) {
        char two[4];
        std::snprintf(two, sizeof two, "%s%02X", out.empty() ? "" : " ", static_cast<unsigned char>(*p));
        out += two;
    }
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    unsigned value = 0;
    int digits = 0;
    for (char c : hex) {
        int v = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
              : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (v < 0) continue;
        value = value * 16 + static_cast<unsigned>(v);
        if (++digits == 2) {
            out.push_back(static_cast<char>(value));
            value = 0;
            digits = 0;
        }
    }
    return out;
}

std::string Converted(LPSTR text, bool hex) {
    if (!text) return "NULL";
    std::string out = hex ? Hex(text) : std::string(text);
    g_host.Free(text);
    return out;
}

std::string ModuleFile() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_instance, path, MAX_PATH);
    return path;
}

std::string UserIni() {
    char folder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE);
    return std::string(folder) + "\\Tarnwick\\Halyard\\bkhost_testplugin.ini";
}

std::string BesideIni() {
    std::string path = ModuleFile();
    return path.substr(0, path.rfind('.')) + ".ini";
}

int IniInt(const char* key) { return static_cast<int>(GetPrivateProfileIntA("Test", key, 0, UserIni().c_str())); }

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= text.size()) {
        size_t space = text.find(' ', start);
        if (space == std::string::npos) space = text.size();
        if (space > start) words.push_back(text.substr(start, space - start));
        start = space + 1;
    }
    return words;
}

void WINAPI OnTestCommand(HWND window, LPARAM) {
    if (g_commandThrows) throw std::runtime_error("thrown by the test command");
    SetHeader(window, "X-Command", "ran");
}

DWORD WINAPI CrashingThread(LPVOID) {
    *static_cast<volatile int*>(nullptr) = 1;
    return 0;
}

LRESULT CALLBACK ThrowingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) throw std::runtime_error("thrown by a window procedure");
    return DefWindowProcA(window, message, wParam, lParam);
}

// Breaks one of the host's rules on purpose; false when verb is none.
bool BreakRule(HWND window, const std::string& verb, const std::string& to) {
    char mime[64];
    char copy[MAX_PATH] = "";
    if (verb == "keepanswer") {
        LPCSTR data = g_host.GetDataFolder();
        g_host.GetCurrentFolder();
        SetHeader(window, "X-Kept", std::string(data));
    } else if (verb == "swallowed") {
        LPCSTR data = g_host.GetDataFolder();
        g_host.GetCurrentFolder();
        lstrcpynA(copy, data, sizeof copy);
        SetHeader(window, "X-Kept", copy);
    } else if (verb == "passanswer") {
        SetHeader(window, to, g_host.GetFolderDisplayName(g_host.GetCurrentFolder()));
    } else if (verb == "keeptext") {
        g_kept = g_host.CompGetText(window, mime, sizeof mime);
    } else if (verb == "readkept") {
        lstrcpynA(copy, g_kept, sizeof copy);
        SetHeader(window, "X-Kept", copy);
    } else if (verb == "freekept") {
        g_host.Free(g_kept);
    } else if (verb == "freeanswer") {
        g_host.Free(const_cast<char*>(g_host.GetDataFolder()));
    } else if (verb == "freeforeign") {
        g_host.Free(copy);
    } else if (verb == "holdbox") {
        LPSTR text = g_host.CompGetText(window, mime, sizeof mime);
        MessageBoxA(window, "Holding the text", "Test Box", MB_OK);
        SetHeader(window, to, text ? text : "NULL");
        g_host.Free(text);
    } else if (verb == "throw") {
        throw std::runtime_error("thrown by the test plug-in");
    } else if (verb == "throwcommand") {
        g_commandThrows = true;
    } else if (verb == "threadcrash") {
        HANDLE thread = CreateThread(nullptr, 0, CrashingThread, nullptr, 0, nullptr);
        if (thread) WaitForSingleObject(thread, INFINITE);
    } else if (verb == "vanish") {
        TerminateProcess(GetCurrentProcess(), 7);
    } else if (verb == "windowthrow") {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = ThrowingProc;
        cls.hInstance = g_instance;
        cls.lpszClassName = "TestThrowing";
        RegisterClassA(&cls);
        HWND thrower = CreateWindowA("TestThrowing", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_instance, nullptr);
        SendMessageA(thrower, WM_APP, 0, 0);
    } else {
        return false;
    }
    return true;
}

void WINAPI OnTestHelp(HWND window, LPARAM) {
    MessageBoxA(window, "Help was chosen", "Test Help", MB_OK);
}

// Carries out one instruction; answers the result for BKC_OnOpenCompose.
int Instruction(HWND window, const std::vector<std::string>& w, int result) {
    auto arg = [&](size_t i) { return i < w.size() ? w[i] : std::string(); };
    const std::string verb = arg(0);
    if (BreakRule(window, verb, arg(1))) return result;
    if (verb == "copy") SetHeader(window, arg(2), Header(window, arg(1)));
    else if (verb == "hex") SetHeader(window, arg(2), Hex(Header(window, arg(1)).c_str()));
    else if (verb == "sethex") SetHeader(window, arg(1), Unhex(arg(2)));
    else if (verb == "settext") g_host.CompSetText(window, 0, Unhex(arg(1)).c_str());
    else if (verb == "bodyhex" || verb == "body") {
        char mime[1024] = "unchanged";
        LPSTR text = g_host.CompGetText(window, mime, sizeof mime);
        if (verb == "bodyhex") {
            SetHeader(window, arg(1), std::string(mime[0] ? mime : "none") + " " + Converted(text, true));
        } else if (text) {
            std::string echoed = "[" + std::string(mime) + "] " + text;
            g_host.Free(text);
            g_host.CompSetText(window, 0, echoed.c_str());
        }
    } else if (verb == "utf8") SetHeader(window, arg(2), Converted(g_host.UTF_8(Header(window, arg(1)).c_str(), TRUE), true));
    else if (verb == "unutf8") SetHeader(window, arg(2), Converted(g_host.UTF_8(Unhex(arg(1)).c_str(), FALSE), false));
    else if (verb == "jis") SetHeader(window, arg(2), Converted(g_host.ISO_2022_JP(Header(window, arg(1)).c_str(), TRUE), true));
    else if (verb == "unjis") SetHeader(window, arg(2), Converted(g_host.ISO_2022_JP(Unhex(arg(1)).c_str(), FALSE), false));
    else if (verb == "serialize") SetHeader(window, arg(2), Converted(g_host.SerializeRcpts(Header(window, arg(1)).c_str()), false));
    else if (verb == "mail") {
        char value[1024];
        g_host.GetSpecifiedHeader(arg(1).c_str(), value, sizeof value);
        SetHeader(window, arg(2), value);
    } else if (verb == "folders") {
        // Each answer copied before the next host call.
        std::string data = g_host.GetDataFolder();
        std::string mailbox = g_host.GetCurrentMailBox();
        std::string folder = g_host.GetCurrentFolder();
        SetHeader(window, arg(1), data + "|" + mailbox + "|" + folder);
    } else if (verb == "version") SetHeader(window, arg(1), g_host.GetVersion());
    else if (verb == "charset") {
        char name[256] = {};
        int codePage = g_host.CompGetCharSet(window, name, sizeof name);
        SetHeader(window, arg(1), std::to_string(codePage) + " " + name);
    } else if (verb == "ctrl") SetHeader(window, arg(1), GetKeyState(VK_CONTROL) < 0 ? "down" : "up");
    else if (verb == "registry") {
        std::string shown = "none";
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\RimArts\\B2\\Settings", 0, KEY_READ, &key) == ERROR_SUCCESS) {
            DWORD format = 0, size = sizeof format, type = 0;
            char citation[256] = {};
            DWORD citationSize = sizeof citation - 1;
            shown = "AddrInputFmt=";
            shown += RegQueryValueExA(key, "AddrInputFmt", nullptr, &type, reinterpret_cast<BYTE*>(&format), &size) == ERROR_SUCCESS && type == REG_DWORD
                         ? std::to_string(format) : "none";
            shown += " Citation=";
            shown += RegQueryValueExA(key, "Citation", nullptr, &type, reinterpret_cast<BYTE*>(citation), &citationSize) == ERROR_SUCCESS && type == REG_SZ
                         ? "[" + std::string(citation) + "]" : "none";
            RegCloseKey(key);
        }
        SetHeader(window, arg(1), shown);
    } else if (verb == "appdata") {
        char user[MAX_PATH] = {}, common[MAX_PATH] = {};
        SHGetSpecialFolderPathA(nullptr, user, CSIDL_APPDATA, FALSE);
        SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common);
        SetHeader(window, arg(1), std::string(user) + "|" + common);
    } else if (verb == "ini") {
        char user[256] = {}, beside[256] = {};
        GetPrivateProfileStringA(arg(1).c_str(), arg(2).c_str(), "(none)", user, sizeof user, UserIni().c_str());
        GetPrivateProfileStringA(arg(1).c_str(), arg(2).c_str(), "(none)", beside, sizeof beside, BesideIni().c_str());
        SetHeader(window, arg(3), std::string("user=") + user + " beside=" + beside);
    } else if (verb == "readfile" || verb == "writefile") {
        std::string path = std::string(g_host.GetDataFolder()) + arg(1);
        bool write = verb == "writefile";
        HANDLE file = CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                                  write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (!write) SetHeader(window, arg(2), "none");
            return result;
        }
        DWORD done = 0;
        if (write) {
            std::string value = Header(window, arg(2));
            WriteFile(file, value.data(), static_cast<DWORD>(value.size()), &done, nullptr);
        } else {
            char bytes[1024] = {};
            ReadFile(file, bytes, sizeof bytes - 1, &done, nullptr);
            SetHeader(window, arg(2), Hex(bytes));
        }
        CloseHandle(file);
    } else if (verb == "box") {
        int answer = MessageBoxA(window, Header(window, "X-Box-Text").c_str(), "Test Box",
                                 static_cast<UINT>(std::atoi(arg(1).c_str())));
        SetHeader(window, "X-Answer", std::to_string(answer));
    } else if (verb == "leak") {
        char mime[64];
        g_host.CompGetText(window, mime, sizeof mime);
    } else if (verb == "freetwice") {
        char mime[64];
        LPSTR text = g_host.CompGetText(window, mime, sizeof mime);
        g_host.Free(text);
        g_host.Free(text);
    } else if (verb == "badwindow") {
        HWND main = nullptr;
        g_host.GetWindowHandles(&main, nullptr, nullptr, nullptr);
        char value[64];
        g_host.CompGetSpecifiedHeader(main, "To", value, sizeof value);
    } else if (verb == "crash") {
        *static_cast<volatile int*>(nullptr) = 1;
    } else if (verb == "result") {
        return std::atoi(arg(1).c_str());
    }
    return result;
}

struct SSenderSearch {
    std::string label;
    HWND found;
};

BOOL CALLBACK MatchLabel(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<SSenderSearch*>(param);
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::strncmp(text, search->label.c_str(), search->label.size()) != 0) return TRUE;
    search->found = GetWindow(child, GW_HWNDNEXT);
    return FALSE;
}

// The window after the sender label, as the real plug-in finds it.
HWND FindSender() {
    HWND view = nullptr;
    g_host.GetWindowHandles(nullptr, nullptr, nullptr, &view);
    SSenderSearch search = {
        GetACP() == 932 ? Utf8ToAnsi("\xE5\xB7\xAE\xE5\x87\xBA\xE4\xBA\xBA\xEF\xBC\x9A") : "From:", nullptr};
    EnumChildWindows(GetParent(view), MatchLabel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Copy(char* field, size_t size, const std::string& text) {
    lstrcpynA(field, text.c_str(), static_cast<int>(size));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        return BindHost();
    }
    return TRUE;
}

int WINAPI BKC_OnStart() {
    if (IniInt("StartBox"))
        MessageBoxA(nullptr, "Started\r\nwith a box", "Test Start", MB_OK | MB_ICONWARNING);
    g_bitmap = CreateBitmap(16, 16, 1, 1, nullptr);
    return IniInt("StartResult");
}

int WINAPI BKC_OnExit() {
    if (g_bitmap) DeleteObject(g_bitmap);
    g_bitmap = nullptr;
    return 0;
}

int WINAPI BKC_OnMenuInit(HWND, HMENU menu, int type) {
    if (type == 0) {
        HMENU tools = GetSubMenu(menu, 5);
        UINT id = g_host.RegisterCommand("Test Help", type, OnTestHelp);
        AppendMenuA(tools, MF_STRING, id, "Test Help");
    } else if (type == 10 || type == 11) {
        HMENU target = type == 10 ? GetSubMenu(menu, 3) : menu;
        AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
        UINT id = g_host.RegisterCommand("Test Command", type, OnTestCommand);
        AppendMenuA(target, MF_STRING, id, "Test Command");
        id = g_host.RegisterCommand("Test Bitmap", type, OnTestCommand);
        AppendMenuA(target, MF_STRING, id, "Test Bitmap");
        SetMenuItemBitmaps(target, id, MF_BYCOMMAND, g_bitmap, nullptr);
    }
    return 0;
}

int WINAPI BKC_OnOpenFolder(LPCSTR) { return 0; }

int WINAPI BKC_OnOpenMail(LPCSTR) {
    HWND sender = FindSender();
    if (!sender) return 1;
    char from[1024];
    g_host.GetSpecifiedHeader("From", from, sizeof from);
    SetWindowTextA(sender, (std::string("Sender: ") + from).c_str());
    return 0;
}

int WINAPI BKC_OnEveryMinute() { return 0; }

int WINAPI BKC_OnOpenCompose(HWND window, int) {
    std::string program = Header(window, "X-Test");
    int result = 0;
    size_t start = 0;
    while (start < program.size()) {
        size_t end = program.find(';', start);
        if (end == std::string::npos) end = program.size();
        result = Instruction(window, Words(program.substr(start, end - start)), result);
        start = end + 1;
    }
    return result;
}

int WINAPI BKC_OnOutgoing(HWND window, int mode) {
    if (mode == 1) return 0;
    return std::atoi(Header(window, "X-Result").c_str());
}

int WINAPI BKC_OnKeyDispatch(HWND, int, int) { return 0; }
int WINAPI BKC_OnRetrieve(LPCSTR, LPCSTR) { return 0; }
int WINAPI BKC_OnSend(LPCSTR) { return IniInt("SendResult"); }
int WINAPI BKC_OnFinishRetrieve(int) { return 0; }

int WINAPI BKC_OnPlugInSetup(HWND owner) {
    return MessageBoxA(owner, "Save the settings?", "Test Setup", MB_YESNO | MB_ICONQUESTION) == IDYES ? 1 : 0;
}

struct SInfo {
    char name[80];
    char vendor[80];
    char version[80];
    char description[256];
};

int WINAPI BKC_OnPlugInInfo(SInfo* info) {
    if (IniInt("InfoHost")) g_host.GetVersion();
    bool japanese = GetACP() == 932;
    Copy(info->name, sizeof info->name,
         japanese ? Utf8ToAnsi("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 Plugin") : "Test Plugin");  // テスト
    Copy(info->vendor, sizeof info->vendor, IniInt("InfoEmpty") ? "" : "Tarnwick Tests");
    Copy(info->version, sizeof info->version, "1.0");
    Copy(info->description, sizeof info->description, "Exercises the headless host.");
    if (IniInt("InfoOverflow")) std::memset(info->description, 'x', sizeof info->description + 8);
    return 0;
}

int WINAPI BKC_OnDragDrop(LPCSTR, LPCSTR, int, int) { return 0; }
int WINAPI BKC_OnBeforeFilter(LPCSTR, int*, char**) { return 0; }

}  // extern "C"
