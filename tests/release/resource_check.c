/* The resources of the shipped DLLs as a user of one language meets them:
 *   resource_check.exe ja|en DLL...
 * Creates every dialog of that language from the DLL's template, in the
 * dialog's own font, and measures each label with GetTextExtentPoint32W
 * against the room its control leaves for text. For Japanese it also
 * converts every string of the Japanese string tables, dialogs and version
 * record to code page 932, where the plug-in hands its texts out: a
 * character without a Shift_JIS form would reach the user as "?".
 * Prints one line per finding; exit status 0 when everything fits. */
#include <windows.h>
#include <commctrl.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

static int failures;
static int labels;
static int strings;
static const wchar_t *dll_name;
static WORD language;

/* One line in UTF-8, whatever the console's code page. */
static void say_line(const wchar_t *prefix, const wchar_t *format, va_list args) {
    wchar_t line[2048];
    char out[6144];
    int n = swprintf(line, 2048, L"%ls%ls: ", prefix, dll_name);
    if (n < 0) n = 0;
    _vsnwprintf(line + n, 2047 - n, format, args);
    line[2047] = 0;
    n = WideCharToMultiByte(CP_UTF8, 0, line, -1, out, sizeof out - 1, NULL, NULL);
    if (n > 0) {
        fputs(out, stdout);
        fputs("\n", stdout);
    }
}

static void say(const wchar_t *format, ...) {
    va_list args;
    va_start(args, format);
    say_line(L"ok   ", format, args);
    va_end(args);
}

static void fail(const wchar_t *format, ...) {
    va_list args;
    va_start(args, format);
    say_line(L"FAIL ", format, args);
    va_end(args);
    failures++;
}

/* A text in cp932 without a best-fit or default character. */
static void check_cp932(const wchar_t *where, const wchar_t *text, int length) {
    BOOL lost = FALSE;
    if (length == 0) return;
    strings++;
    if (WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text, length, NULL, 0, NULL, &lost) <= 0 || lost) {
        int i;
        for (i = 0; i < length; i++) {
            BOOL one = FALSE;
            char out[8];
            WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text + i, 1, out, sizeof out, NULL, &one);
            if (one) break;
        }
        fail(L"%ls: U+%04X has no cp932 form: \"%.*ls\"", where, i < length ? text[i] : 0, length, text);
    }
}

/* The label as drawn: "&&" shows one ampersand, a single "&" none. */
static int shown_text(const wchar_t *text, wchar_t *out, int size) {
    int n = 0;
    for (; *text && n < size - 1; text++) {
        if (*text == L'&' && text[1] != L'&') continue;
        if (*text == L'&') text++;
        out[n++] = *text;
    }
    out[n] = 0;
    return n;
}

/* The pixels of a control's width that its text may use: a push button
 * loses its edges and focus frame, a check box or radio button its box and
 * the gap after it, a group box the frame's corners on both sides. */
static int text_room(HWND control, const wchar_t *cls, LONG style, int width, HDC dc) {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    if (_wcsicmp(cls, L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return width - 2 * (GetSystemMetrics(SM_CXEDGE) + 2);
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return width - (GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth / 2 + 2);
        case BS_GROUPBOX:
            return width - 2 * (metrics.tmAveCharWidth + 2);
        default:
            return -1;
        }
    }
    if (_wcsicmp(cls, L"Static") == 0) {
        /* Ellipsis statics are filled at run time and cut on purpose. */
        if ((style & SS_TYPEMASK) > SS_RIGHT || (style & SS_ELLIPSISMASK)) return -1;
        return width;
    }
    return -1;
}

typedef struct {
    int id;
    const wchar_t *dialog;
} Walk;

static BOOL CALLBACK measure_child(HWND control, LPARAM param) {
    const Walk *walk = (const Walk *)param;
    wchar_t cls[64], text[512], shown[512], where[128];
    LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT box;
    HDC dc;
    HFONT font, old;
    SIZE extent;
    int room, length, id = GetDlgCtrlID(control);

    GetClassNameW(control, cls, 64);
    GetWindowTextW(control, text, 512);
    swprintf(where, 128, L"dialog %d (%ls) control %d", walk->id, walk->dialog, id);
    if (language == MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT))
        check_cp932(where, text, (int)wcslen(text));
    length = shown_text(text, shown, 512);
    if (length == 0) return TRUE;
    GetClientRect(control, &box);
    dc = GetDC(control);
    font = (HFONT)SendMessageW(control, WM_GETFONT, 0, 0);
    old = font ? (HFONT)SelectObject(dc, font) : NULL;
    room = text_room(control, cls, style, box.right - box.left, dc);
    if (room >= 0) {
        GetTextExtentPoint32W(dc, shown, length, &extent);
        labels++;
        if (extent.cx > room)
            fail(L"%ls \"%ls\": text %ld px, room %d px", where, shown, extent.cx, room);
    }
    if (old) SelectObject(dc, old);
    ReleaseDC(control, dc);
    return TRUE;
}

static INT_PTR CALLBACK quiet_dialog(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    return message == WM_INITDIALOG;
}

static BOOL CALLBACK check_dialog(HMODULE module, LPCWSTR type, LPWSTR name, LPARAM param) {
    HRSRC found = FindResourceExW(module, type, name, language);
    Walk walk;
    HWND dialog;
    wchar_t caption[256], where[64];
    if (!found || IS_INTRESOURCE(name) == 0) return TRUE;
    walk.id = (int)(ULONG_PTR)name;
    walk.dialog = language == MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT) ? L"ja" : L"en";
    dialog = CreateDialogIndirectParamW(module, (LPCDLGTEMPLATEW)LockResource(LoadResource(module, found)),
                                        NULL, quiet_dialog, 0);
    if (!dialog) {
        fail(L"dialog %d (%ls) cannot be created: error %lu", walk.id, walk.dialog, GetLastError());
        return TRUE;
    }
    GetWindowTextW(dialog, caption, 256);
    swprintf(where, 64, L"dialog %d (%ls) caption", walk.id, walk.dialog);
    if (language == MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT))
        check_cp932(where, caption, (int)wcslen(caption));
    EnumChildWindows(dialog, measure_child, (LPARAM)&walk);
    DestroyWindow(dialog);
    return TRUE;
}

/* A string-table block holds 16 counted UTF-16 strings. */
static BOOL CALLBACK check_strings(HMODULE module, LPCWSTR type, LPWSTR name, LPARAM param) {
    HRSRC found = FindResourceExW(module, type, name, language);
    const WCHAR *p;
    DWORD size;
    int i, first;
    if (!found || !IS_INTRESOURCE(name)) return TRUE;
    p = (const WCHAR *)LockResource(LoadResource(module, found));
    size = SizeofResource(module, found) / sizeof(WCHAR);
    first = ((int)(ULONG_PTR)name - 1) * 16;
    for (i = 0; i < 16 && p && size > 0; i++) {
        wchar_t where[32];
        WORD length = *p++;
        size--;
        if (length > size) break;
        swprintf(where, 32, L"string %d", first + i);
        check_cp932(where, p, length);
        p += length;
        size -= length;
    }
    return TRUE;
}

static void check_version_texts(HMODULE module) {
    static const wchar_t *names[] = {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName",
                                     L"LegalCopyright", L"LegalTrademarks", L"OriginalFilename",
                                     L"ProductName", L"ProductVersion", L"Comments"};
    HRSRC found = FindResourceExW(module, RT_VERSION, MAKEINTRESOURCEW(1), language);
    static BYTE copy[16384];
    DWORD size;
    size_t i;
    if (!found) {
        fail(L"no Japanese version record");
        return;
    }
    size = SizeofResource(module, found);
    if (size > sizeof copy) size = sizeof copy;
    memcpy(copy, LockResource(LoadResource(module, found)), size);
    for (i = 0; i < sizeof names / sizeof names[0]; i++) {
        wchar_t path[96], where[64];
        wchar_t *value = NULL;
        UINT length = 0;
        swprintf(path, 96, L"\\StringFileInfo\\041104B0\\%ls", names[i]);
        swprintf(where, 64, L"version text %ls", names[i]);
        if (VerQueryValueW(copy, path, (void **)&value, &length) && value)
            check_cp932(where, value, (int)wcslen(value));
    }
}

int wmain(int argc, wchar_t **argv) {
    int i;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    if (argc < 3 || (wcscmp(argv[1], L"ja") != 0 && wcscmp(argv[1], L"en") != 0)) {
        fwprintf(stderr, L"usage: resource_check.exe ja|en DLL...\n");
        return 2;
    }
    InitCommonControlsEx(&controls);
    language = wcscmp(argv[1], L"ja") == 0 ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                           : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    for (i = 2; i < argc; i++) {
        HMODULE module = LoadLibraryExW(argv[i], NULL, LOAD_LIBRARY_AS_DATAFILE);
        int before = failures;
        const wchar_t *slash = wcsrchr(argv[i], L'\\');
        dll_name = slash ? slash + 1 : argv[i];
        labels = strings = 0;
        if (!module) {
            fail(L"cannot be loaded: error %lu", GetLastError());
            continue;
        }
        EnumResourceNamesW(module, RT_DIALOG, check_dialog, 0);
        if (language == MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)) {
            EnumResourceNamesW(module, RT_STRING, check_strings, 0);
            check_version_texts(module);
        }
        if (failures == before && strings)
            say(L"%ls dialogs: %d labels fit their controls; %d texts encode in cp932", argv[1], labels, strings);
        else if (failures == before)
            say(L"%ls dialogs: %d labels fit their controls", argv[1], labels);
        FreeLibrary(module);
    }
    return failures ? 1 : 0;
}
