// The send check's settings: the check on or off, whether it asks only for
// recipients outside the trusted domains, the trusted domains themselves,
// the two warning thresholds, and the question before a reply to all that
// would reveal a blind copy.
#include "settings/send_check_dialog.h"

#include "common/platform.h"
#include "resources/dialog_ids.h"
#include "settings/list_editor_win32.h"
#include "settings/token_list.h"

namespace {

// Thresholds are typed with at most four digits.
constexpr WPARAM kThresholdDigits = 4;

// What one open dialog works on; the caller's values change only on OK.
struct SendCheckDialogState {
    SendCheckValues values;
    TokenList domains;
};

// The controls that belong to the check itself follow its check box; the
// blind-copy question stands on its own.
constexpr int kCheckControls[] = {
    IDC_SC_ONLY_OUTSIDE, IDC_SC_DOMAIN_GROUP,     IDC_SC_DOMAIN_LIST,     IDC_SC_DOMAIN_ADD,
    IDC_SC_DOMAIN_EDIT,  IDC_SC_DOMAIN_DELETE,    IDC_SC_DOMAIN_HINT,     IDC_SC_MANY_DOMAINS,
    IDC_SC_MANY_DOMAINS_LABEL, IDC_SC_MANY_RECIPIENTS, IDC_SC_MANY_RECIPIENTS_LABEL,
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetCheck(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void ApplyEnableRule(HWND dialog) {
    const BOOL on = Checked(dialog, IDC_SC_ENABLED) ? TRUE : FALSE;
    for (int id : kCheckControls) EnableWindow(GetDlgItem(dialog, id), on);
}

void ShowThreshold(HWND dialog, int id, int32_t value) {
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, kThresholdDigits, 0);
    SetDlgItemInt(dialog, id, static_cast<UINT>(value), TRUE);
}

// What the field holds; a field left empty keeps the value it showed.
int32_t ReadThreshold(HWND dialog, int id, int32_t shown) {
    BOOL read = FALSE;
    const UINT value = GetDlgItemInt(dialog, id, &read, TRUE);
    return read ? static_cast<int32_t>(value) : shown;
}

void Init(HWND dialog, const SendCheckDialogState& state) {
    const SendCheckValues& v = state.values;
    SetCheck(dialog, IDC_SC_ENABLED, v.enabled);
    SetCheck(dialog, IDC_SC_ONLY_OUTSIDE, v.onlyOutside);
    SetCheck(dialog, IDC_SC_BCC_REPLY_ALL, v.bccReplyAll);
    ShowThreshold(dialog, IDC_SC_MANY_DOMAINS, v.manyDomains);
    ShowThreshold(dialog, IDC_SC_MANY_RECIPIENTS, v.manyRecipients);
    FillListBox(dialog, IDC_SC_DOMAIN_LIST, state.domains);
    ApplyEnableRule(dialog);
}

void Read(HWND dialog, SendCheckDialogState& state) {
    SendCheckValues& v = state.values;
    v.enabled = Checked(dialog, IDC_SC_ENABLED);
    v.onlyOutside = Checked(dialog, IDC_SC_ONLY_OUTSIDE);
    v.bccReplyAll = Checked(dialog, IDC_SC_BCC_REPLY_ALL);
    v.manyDomains = ReadThreshold(dialog, IDC_SC_MANY_DOMAINS, v.manyDomains);
    v.manyRecipients = ReadThreshold(dialog, IDC_SC_MANY_RECIPIENTS, v.manyRecipients);
}

INT_PTR CALLBACK SendCheckDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (auto* state = reinterpret_cast<SendCheckDialogState*>(lParam)) Init(dialog, *state);
        return TRUE;
    }
    auto* state = reinterpret_cast<SendCheckDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!state || message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_SC_ENABLED: ApplyEnableRule(dialog); break;
    case IDC_SC_DOMAIN_ADD: AddListItem(dialog, IDC_SC_DOMAIN_LIST, state->domains); break;
    case IDC_SC_DOMAIN_EDIT: EditListItem(dialog, IDC_SC_DOMAIN_LIST, state->domains); break;
    case IDC_SC_DOMAIN_DELETE: DeleteListItem(dialog, IDC_SC_DOMAIN_LIST, state->domains); break;
    case IDOK:
        Read(dialog, *state);
        EndDialog(dialog, IDOK);
        break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: return FALSE;
    }
    return TRUE;
}

}  // namespace

bool RunSendCheckDialog(HWND owner, SendCheckValues* values, TokenList* trustedDomains) {
    if (!values || !trustedDomains) return false;
    SendCheckDialogState state{*values, {}};
    state.domains.CopyFrom(*trustedDomains);
    const INT_PTR result =
        DialogBoxParamA(static_cast<HINSTANCE>(platform::Module()),
                        MAKEINTRESOURCEA(IDD_SEND_CHECK_SETTINGS), owner, SendCheckDialogProc,
                        reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    *values = state.values;
    trustedDomains->CopyFrom(state.domains);
    return true;
}
