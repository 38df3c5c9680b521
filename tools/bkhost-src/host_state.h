// What the simulated mail client holds: its folders, the mail being replied
// to, its compose windows, its registered commands and its windows.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "header_list.h"

using SCommandProc = void(WINAPI*)(HWND window, LPARAM parameter);
using SUiProc = UINT(WINAPI*)(HWND window, LPARAM parameter);

// The compose window. Its headers and text are held in its own encoding:
// UTF-8 in a code page 65001 window, the ANSI code page otherwise.
struct SComposeWindow {
    HWND window = nullptr;
    unsigned codePage = 0;
    SHeaderList headers;
    bool hasBody = true;
    std::string text;
    std::string mimeType = "text/plain";

    bool Utf8() const { return codePage == 65001; }
    // Changes the code page, converting what the window holds when it moves
    // between UTF-8 and the ANSI code page.
    void SetCodePage(unsigned newCodePage);
};

// How many compose windows a script can have open (window 1 to 4).
constexpr int kComposeWindows = 4;

struct SSerializeRule {
    std::string input;                  // ANSI
    std::optional<std::string> output;  // nullopt: answer NULL
};

struct SHostCommand {
    std::string text;   // ANSI, as registered
    int target = 0;
    SCommandProc proc = nullptr;
    UINT id = 0;
};

struct SHostState {
    std::string version = "2.75.00";
    std::string dataFolder;   // ANSI, ends in a backslash
    std::string tempFolder;   // ANSI, ends in a backslash
    std::string mailbox;
    std::string folder;
    std::string mailId;
    SHeaderList mail;         // the mail being replied to, ANSI
    std::string mailText;
    // The selected compose window, the one script commands act on; the
    // others wait in parked, at their own index (parked[selected] is empty
    // while its window is selected).
    SComposeWindow compose;
    std::array<SComposeWindow, kComposeWindows> parked;
    int selected = 0;
    std::vector<SSerializeRule> serializeRules;
    std::vector<SHostCommand> commands;
    UINT nextCommandId = 40001;
    bool ctrlDown = false;
    std::set<std::string> raising;   // host functions that raise instead of answering

    HWND mainWindow = nullptr;
    HWND treeWindow = nullptr;
    HWND listWindow = nullptr;
    HWND viewWindow = nullptr;
    HWND labelWindow = nullptr;
    HWND senderWindow = nullptr;

    const SHostCommand* FindCommand(const std::string& text) const;
    // Selects window index (0 to kComposeWindows - 1).
    void SelectWindow(int index);
    // The compose window behind a handle, selected or parked; nullptr when
    // the handle is no compose window.
    SComposeWindow* WindowOf(HWND window);
};

SHostState& TheHost();

// The structured exception a failing host raises (not continuable) from
// the named function, when the script asked for that.
constexpr DWORD kHostRaisedCode = 0xE0424B01;
void RaiseIfFailing(const char* function);

// Applies the Control key state the script chose to this thread.
void ApplyKeyState(bool ctrlDown);
