// The send check's dialog. One report-style list view holds every row,
// filled in one go with redrawing off: a window a row made the dialog too
// slow to open at a hundred recipients. The list view asks for the texts of
// the rows it paints (LVN_GETDISPINFO), so filling stores none. A group's
// title is a row without a check box; so is a recipient of a trusted domain.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "common/text.h"
#include "outgoing/send_check.h"
#include "outgoing/send_check_dialog.h"
#include "resources/dialog_ids.h"
#include "resources/string_ids.h"

namespace {

enum Column : int { kColumnName, kColumnHeader, kColumnAddress, kColumnNote, kColumnCount };
// Shares of the list's width, in hundredths, for all but the last column.
constexpr int kColumnShare[kColumnCount - 1] = {40, 9, 27};
constexpr int kColumnTitles = kColumnCount + 1;   // the columns, then the trusted group's title

constexpr UINT kNoBox = INDEXTOSTATEIMAGEMASK(0);
constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);

constexpr char kFieldSeparator = '|';
constexpr char kCountMark[] = "%d";
constexpr size_t kTextSize = 1024;

enum class RowKind : unsigned char { kTitle, kTrusted, kOutside };
struct RowStyle {
    RowKind kind;
    bool isNew;
    const SendCheckRow* row;     // null for a title
    const std::string* title;    // a title's text
};

// What one open dialog works with; it lives on the stack of the call that
// shows the dialog.
struct DialogState {
    const SendCheckList* list = nullptr;
    std::vector<RowStyle> rows;   // one per list-view item
    bool filling = false;         // the dialog's own changes, not the user's
    std::vector<std::string> titles;   // the columns', then the trusted group's
    std::string notListed;
    std::string isNew;
    std::string noDomain = "?";
};

HINSTANCE Instance() { return static_cast<HINSTANCE>(platform::Module()); }

DialogState* StateOf(HWND dialog) {
    return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string WithCount(const std::string& text, size_t count) {
    std::string out = text;
    const size_t at = out.find(kCountMark);
    if (at != std::string::npos) out.replace(at, sizeof kCountMark - 1, std::to_string(count));
    return out;
}

std::vector<std::string> ColumnTitles() {
    std::vector<std::string> titles = SplitAt(platform::LoadResString(kStrSendCheckColumns),
                                              kFieldSeparator);
    titles.resize(kColumnTitles);
    return titles;
}

void AddColumns(HWND list, const std::vector<std::string>& titles) {
    RECT client = {};
    GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    int used = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        const int share = column < kColumnCount - 1 ? width * kColumnShare[column] / 100 : width - used;
        used += share;
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.cx = share;
        lvc.iSubItem = column;
        lvc.pszText = const_cast<char*>(titles[static_cast<size_t>(column)].c_str());
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&lvc));
    }
}

int AddRow(HWND list, DialogState& state, RowStyle style) {
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT | LVIF_STATE;
    lvi.iItem = static_cast<int>(state.rows.size());
    lvi.pszText = LPSTR_TEXTCALLBACKA;
    lvi.stateMask = LVIS_STATEIMAGEMASK;
    lvi.state = style.kind == RowKind::kOutside ? kUnticked : kNoBox;
    const int item = static_cast<int>(
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
    if (item < 0) return item;
    state.rows.push_back(style);
    // Some list views give every new row a box whatever the item asked for.
    if (style.kind != RowKind::kOutside) {
        LVITEMA none = {};
        none.stateMask = LVIS_STATEIMAGEMASK;
        none.state = kNoBox;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&none));
    }
    return item;
}

void FillList(HWND list, DialogState& state) {
    state.titles = ColumnTitles();
    state.notListed = platform::LoadResString(kStrSendCheckNotListed);
    state.isNew = platform::LoadResString(kStrSendCheckNew);

    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    AddColumns(list, state.titles);

    const SendCheckList& rows = *state.list;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, rows.RecipientRows() + rows.groups.size(), 0);
    state.rows.reserve(rows.RecipientRows() + rows.groups.size());
    for (const SendCheckGroup& group : rows.groups) {
        const std::string* title = group.trusted          ? &state.titles[kColumnCount]
                                   : group.domain.empty() ? &state.noDomain
                                                          : &group.domain;
        AddRow(list, state, RowStyle{RowKind::kTitle, false, nullptr, title});
        for (const SendCheckRow& row : group.rows)
            AddRow(list, state, RowStyle{row.outside ? RowKind::kOutside : RowKind::kTrusted,
                                         row.newInConversation, &row, nullptr});
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

// The text of one cell, as the list view asks for it.
const char* CellText(const DialogState& state, const RowStyle& style, int column) {
    if (!style.row) return column == kColumnName ? style.title->c_str() : "";
    const SendCheckRow& row = *style.row;
    switch (column) {
    case kColumnName: return row.listed ? row.name.c_str() : state.notListed.c_str();
    case kColumnHeader: return FieldName(row.field);
    case kColumnAddress: return row.address.c_str();
    case kColumnNote: return row.newInConversation ? state.isNew.c_str() : "";
    default: return "";
    }
}

void GiveText(const DialogState& state, NMLVDISPINFOA& info) {
    const size_t item = static_cast<size_t>(info.item.iItem);
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0 ||
        item >= state.rows.size())
        return;
    CopyBounded(info.item.pszText, static_cast<size_t>(info.item.cchTextMax),
                CellText(state, state.rows[item], info.item.iSubItem));
}

UINT BoxState(HWND list, int item) {
    return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item),
                                          LVIS_STATEIMAGEMASK));
}

bool AllTicked(HWND dialog, const DialogState& state) {
    HWND list = GetDlgItem(dialog, IDC_SEND_CHECK_LIST);
    for (size_t i = 0; i < state.rows.size(); ++i) {
        if (state.rows[i].kind == RowKind::kOutside && BoxState(list, static_cast<int>(i)) != kTicked)
            return false;
    }
    return true;
}

void UpdateSend(HWND dialog, const DialogState& state) {
    EnableWindow(GetDlgItem(dialog, IDOK), AllTicked(dialog, state));
}

void ShowWarning(HWND dialog, int id, bool shown, unsigned textId, size_t count) {
    HWND label = GetDlgItem(dialog, id);
    SetWindowTextA(label, shown ? WithCount(platform::LoadResString(textId), count).c_str() : "");
    ShowWindow(label, shown ? SW_SHOW : SW_HIDE);
}

// The first row to tick gets the focus, so that Space ticks it at once.
void FocusFirstBox(HWND list, const DialogState& state) {
    int first = 0;
    for (size_t i = 0; i < state.rows.size(); ++i) {
        if (state.rows[i].kind == RowKind::kOutside) {
            first = static_cast<int>(i);
            break;
        }
    }
    LVITEMA lvi = {};
    lvi.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    lvi.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(first), reinterpret_cast<LPARAM>(&lvi));
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(first), FALSE);
    SetFocus(list);
}

void InitDialog(HWND dialog, DialogState& state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    HWND list = GetDlgItem(dialog, IDC_SEND_CHECK_LIST);
    state.filling = true;
    FillList(list, state);
    state.filling = false;
    const SendCheckList& rows = *state.list;
    ShowWarning(dialog, IDC_SEND_CHECK_WARN_DOMAINS, rows.warnManyDomains,
                kStrSendCheckManyDomains, rows.visibleOutsideDomains);
    ShowWarning(dialog, IDC_SEND_CHECK_WARN_VISIBLE, rows.warnManyVisible,
                kStrSendCheckManyVisible, rows.visibleAddresses);
    UpdateSend(dialog, state);
    FocusFirstBox(list, state);
}

// A row without a box keeps none: the list view would give it one on Space
// or a click on its left edge.
bool RefuseChange(const DialogState& state, const NMLISTVIEW& change) {
    if (state.filling || !(change.uChanged & LVIF_STATE)) return false;
    if (((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) == 0) return false;
    const size_t item = static_cast<size_t>(change.iItem);
    return item >= state.rows.size() || state.rows[item].kind != RowKind::kOutside;
}

LRESULT CustomDraw(const DialogState& state, NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const size_t item = static_cast<size_t>(draw.nmcd.dwItemSpec);
    if (item >= state.rows.size()) return CDRF_DODEFAULT;
    if (state.rows[item].kind == RowKind::kTitle) {
        draw.clrTextBk = GetSysColor(COLOR_BTNFACE);
        draw.clrText = GetSysColor(COLOR_BTNTEXT);
    } else if (state.rows[item].isNew) {
        draw.clrText = RGB(0xB0, 0x00, 0x00);   // stands out from the names around it
    }
    return CDRF_DODEFAULT;
}

INT_PTR OnNotify(HWND dialog, DialogState& state, NMHDR& header) {
    if (header.idFrom != IDC_SEND_CHECK_LIST) return FALSE;
    LRESULT result = 0;
    switch (header.code) {
    case LVN_ITEMCHANGING:
        result = RefuseChange(state, reinterpret_cast<NMLISTVIEW&>(header)) ? TRUE : FALSE;
        break;
    case LVN_ITEMCHANGED: {
        const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
        if (!state.filling && (change.uChanged & LVIF_STATE) &&
            ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK))
            UpdateSend(dialog, state);
        return TRUE;
    }
    case NM_CUSTOMDRAW:
        result = CustomDraw(state, reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        break;
    case LVN_GETDISPINFOA:
        GiveText(state, reinterpret_cast<NMLVDISPINFOA&>(header));
        return TRUE;
    default:
        return FALSE;
    }
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK SendCheckProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        InitDialog(dialog, *reinterpret_cast<DialogState*>(lParam));
        return FALSE;   // the focus is set
    }
    DialogState* state = StateOf(dialog);
    if (!state) return FALSE;
    switch (message) {
    case WM_NOTIFY:
        return OnNotify(dialog, *state, *reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // Enter presses Send only once every outside row is ticked.
            if (AllTicked(dialog, *state)) EndDialog(dialog, IDOK);
            else MessageBeep(MB_OK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int ShowSendCheckDialog(HostWindow owner, const SendCheckList& list) {
    // The list view's library is held only while the dialog is up, as the
    // open-file dialog's is.
    const platform::ModuleReference controlsLibrary = platform::LoadSystemLibrary("comctl32.dll");
    const auto init = reinterpret_cast<decltype(&InitCommonControlsEx)>(
        platform::LibraryFunction(controlsLibrary, "InitCommonControlsEx"));
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    if (!init || !init(&controls)) return -1;
    DialogState state;
    state.list = &list;
    const INT_PTR answer =
        DialogBoxParamA(Instance(), MAKEINTRESOURCEA(IDD_SEND_CHECK), static_cast<HWND>(owner),
                        SendCheckProc, reinterpret_cast<LPARAM>(&state));
    return answer == IDOK ? 0 : -1;
}
