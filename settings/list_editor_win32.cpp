#include "settings/list_editor_win32.h"

#include <string>

#include "common/platform.h"
#include "resources/dialog_ids.h"
#include "resources/string_ids.h"
#include "settings/dialog_rules.h"
#include "settings/token_list.h"

namespace {

constexpr size_t kTokenTextSize = 1024;   // Edit Token reads at most 1023 characters

HINSTANCE Instance() { return static_cast<HINSTANCE>(platform::Module()); }

// The text handed to and returned by one Edit Token dialog.
struct EditTokenRequest {
    std::string text;
};

std::string ListItemText(HWND dialog, int id, int index) {
    const LRESULT length = SendDlgItemMessageA(dialog, id, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendDlgItemMessageA(dialog, id, LB_GETTEXT, index,
                                            reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got == LB_ERR || got < 0 ? 0 : static_cast<size_t>(got));
    return text;
}

INT_PTR CALLBACK EditTokenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* request = reinterpret_cast<EditTokenRequest*>(lParam);
        const std::string title = platform::LoadResString(kStrEditTokenTitle);
        SetWindowTextA(dialog, title.c_str());
        SendDlgItemMessageA(dialog, IDC_TOKEN_TEXT, EM_LIMITTEXT, kTokenTextSize - 1, 0);
        SetDlgItemTextA(dialog, IDC_TOKEN_TEXT, request ? request->text.c_str() : "");
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* request = reinterpret_cast<EditTokenRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
            char text[kTokenTextSize] = {};
            const UINT n = GetDlgItemTextA(dialog, IDC_TOKEN_TEXT, text, sizeof text);
            if (request) request->text.assign(text, n < sizeof text ? n : sizeof text - 1);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// Runs Edit Token over request; true when it ended with OK.
bool EditToken(HWND owner, EditTokenRequest* request) {
    return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(IDD_EDIT_TOKEN), owner, EditTokenProc,
                           reinterpret_cast<LPARAM>(request)) == IDOK;
}

}  // namespace

void FillListBox(HWND dialog, int id, const TokenList& list) {
    SendDlgItemMessageA(dialog, id, LB_RESETCONTENT, 0, 0);
    for (const std::string& text : list) {
        SendDlgItemMessageA(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void AddListItem(HWND dialog, int id, TokenList& work) {
    EditTokenRequest request;
    if (!EditToken(dialog, &request) || request.text.empty()) return;
    SendDlgItemMessageA(dialog, id, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(request.text.c_str()));
    work.Append(request.text);
}

void EditListItem(HWND dialog, int id, TokenList& work) {
    const LRESULT selected = SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || selected < 0) return;
    const int index = static_cast<int>(selected);
    EditTokenRequest request{ListItemText(dialog, id, index)};
    if (!EditToken(dialog, &request) || request.text.empty()) return;
    SendDlgItemMessageA(dialog, id, LB_DELETESTRING, index, 0);
    SendDlgItemMessageA(dialog, id, LB_INSERTSTRING, index,
                        reinterpret_cast<LPARAM>(request.text.c_str()));
    SendDlgItemMessageA(dialog, id, LB_SETCURSEL, index, 0);
    work.ReplaceAt(static_cast<size_t>(index), request.text);
}

void DeleteListItem(HWND dialog, int id, TokenList& work) {
    const LRESULT selected = SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || selected < 0) return;
    const int index = static_cast<int>(selected);
    const std::string text =
        FillPattern(platform::LoadResString(kStrConfirmDelete), ListItemText(dialog, id, index));
    const std::string caption = platform::LoadResString(kStrConfirmCaption);
    if (MessageBoxA(dialog, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    SendDlgItemMessageA(dialog, id, LB_DELETESTRING, index, 0);
    // The working copy follows the list box, item by item.
    work.Clear();
    const LRESULT count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) work.Append(ListItemText(dialog, id, i));
}

