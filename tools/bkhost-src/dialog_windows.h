// Looking at and pressing the dialogs of the run: message boxes told from
// other dialogs, the dialog in front, windows found by title, and clicks
// and typing delivered the way the mouse and keyboard deliver them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

bool IsDialogClass(HWND window);
// A system message box: a dialog of static texts and standard buttons
// (IDOK to IDCONTINUE) whose text is the static 0xFFFF.
bool IsMessageBox(HWND window);

// The visible top-level windows of this process, the front-most first.
std::vector<HWND> VisibleProcessWindows();
// The visible top-level window of this process that is in front, or null.
HWND FrontWindow();
// A visible top-level window of this process whose title starts with
// prefix (UTF-8), the front-most first; null when none.
HWND FindWindowByTitle(std::string_view prefix);

// "Button", "Edit", "ListBox", ... lower-cased.
std::string ClassOf(HWND window);
bool IsRadioButton(HWND button);
bool IsCheckable(HWND button);
bool OnOtherThread(HWND window);

// A user's click: a button gets BM_CLICK (the button itself sends
// BN_CLICKED and moves its check), anything else a left click at its
// centre. Windows of another thread get it posted, so this never waits
// for their dialogs.
void ClickControl(HWND control);
// Selects and replaces the whole text as typing would: the edit control
// itself sends EN_UPDATE and EN_CHANGE and keeps its length limit.
void TypeInto(HWND edit, const std::wstring& text);
// Clicks item index of a list box at the item, scrolled into view; the list
// box sends LBN_SELCHANGE itself.
void ClickListItem(HWND list, int index);

// Presses a dialog's Cancel button as a user would, or its close box when
// it has no usable Cancel.
void PressCancel(HWND dialog);
// Presses a dialog's OK button as a user would; false when it has no
// enabled, visible OK.
bool PressOk(HWND dialog);

// Text of a list box's items, joined by ", ".
std::string ListItemsUtf8(HWND list);
