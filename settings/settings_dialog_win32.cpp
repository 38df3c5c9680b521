// The settings dialog: shows the settings object, edits the two lists
// through Edit Token, and writes the file on OK.
#include "settings/settings_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "common/entry_gate.h"
#include "common/help_page.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/string_box.h"
#include "resources/dialog_ids.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "settings/dialog_rules.h"
#include "settings/list_editor_win32.h"
#include "settings/open_filter.h"
#include "settings/send_check_dialog.h"
#include "settings/settings.h"
#include "settings/settings_save.h"
#include "settings/support_link.h"
#include "settings/update_check.h"
#include "settings/token_list.h"

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);

constexpr int kReplyRadios[kRadioCount] = {IDC_REPLY_BOOK, IDC_REPLY_ADDRESS,
                                           IDC_REPLY_NAME_ADDR, IDC_REPLY_ADDR_NAME};
constexpr int kGroupRadios[kRadioCount] = {IDC_GROUP_BOOK, IDC_GROUP_ADDRESS,
                                           IDC_GROUP_NAME_ADDR, IDC_GROUP_ADDR_NAME};
constexpr int kViewRadios[kRadioCount] = {IDC_VIEW_NAME, IDC_VIEW_ADDRESS, IDC_VIEW_NAME_ADDR,
                                          IDC_VIEW_ADDR_NAME};

HINSTANCE Instance() { return static_cast<HINSTANCE>(platform::Module()); }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetCheck(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void Enable(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE); }

void EnableAll(HWND dialog, const int (&ids)[kRadioCount], bool on) {
    for (int id : ids) Enable(dialog, id, on);
}

void SetRadio(HWND dialog, const int (&ids)[kRadioCount], int32_t value) {
    const int chosen = RadioIndexForValue(value);
    for (int i = 0; i < kRadioCount; ++i) SetCheck(dialog, ids[i], i == chosen);
}

int32_t ReadRadio(HWND dialog, const int (&ids)[kRadioCount]) {
    bool checked[kRadioCount];
    for (int i = 0; i < kRadioCount; ++i) checked[i] = Checked(dialog, ids[i]);
    return ValueFromRadios(checked);
}

void ApplyEnableRule(HWND dialog, const SSettings& s) {
    const DialogEnableState state = ComputeEnableState(
        Checked(dialog, IDC_USE_ADDR_BOOK), s.domainsWork.Empty(), Checked(dialog, IDC_INSPECT),
        s.attachWordsWork.Empty());
    EnableAll(dialog, kReplyRadios, state.replyFormat);
    Enable(dialog, IDC_DOMAIN_LIST, state.domainList);
    Enable(dialog, IDC_DOMAIN_ADD, state.domainList);
    Enable(dialog, IDC_DOMAIN_EDIT, state.domainList);
    Enable(dialog, IDC_DOMAIN_DELETE, state.domainList);
    EnableAll(dialog, kGroupRadios, state.groupFormat);
    Enable(dialog, IDC_WORD_LIST, state.wordsList);
    Enable(dialog, IDC_WORD_ADD, state.wordsList);
    Enable(dialog, IDC_WORD_EDIT, state.wordsList);
    Enable(dialog, IDC_WORD_DELETE, state.wordsList);
}

void EnableArrangeOptions(HWND dialog, bool on) {
    Enable(dialog, IDC_EXCLUDE_REPLY_TO, on);
    Enable(dialog, IDC_SELF_EXCLUDE, on);
}

void EnableReportFile(HWND dialog, bool on) {
    SendDlgItemMessageA(dialog, IDC_REPORT_FILE, EM_SETREADONLY, on ? FALSE : TRUE, 0);
    Enable(dialog, IDC_REPORT_BROWSE, on);
}

// The system's open-file dialog, from comdlg32 loaded only while it is
// asked (under Wine its printer library leaves a mutex, an event and a
// thread handle behind in a host that never loads it itself).
bool AskOpenFileName(OPENFILENAMEA* ofn) {
    const platform::ModuleReference dialogs = platform::LoadSystemLibrary("comdlg32.dll");
    const auto open = reinterpret_cast<decltype(&GetOpenFileNameA)>(
        platform::LibraryFunction(dialogs, "GetOpenFileNameA"));
    return open && open(ofn);
}

void ChooseReportFile(HWND dialog, const SSettings& s) {
    const std::string filter = OpenFileFilter(platform::LoadResString(kStrFileFilter));
    const std::string title = platform::LoadResString(kStrChooserTitle);
    char file[kPathSize] = {};
    static_assert(sizeof file == sizeof s.reportFile, "same size");
    std::memcpy(file, s.reportFile, sizeof file - 1);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT |
                OFN_NOREADONLYRETURN | OFN_EXPLORER | OFN_ENABLESIZING;
    if (AskOpenFileName(&ofn)) SetDlgItemTextA(dialog, IDC_REPORT_FILE, file);
}

void OpenSupportMail(HWND dialog) {
    const std::string link = SupportMailLink(platform::LoadResString(kStrSupportAddress),
                                             platform::LoadResString(kStrSupportSubject));
    platform::OpenWithShell(dialog, link);
}

void InitDialog(HWND dialog, SettingsDialogContext& context) {
    SSettings& s = context.settings;
    const std::string title =
        FillPattern(platform::LoadResString(kStrDialogTitle), context.productVersion);
    SetWindowTextA(dialog, title.c_str());

    SetCheck(dialog, IDC_USE_ADDR_BOOK, s.useAddrBook);
    SetCheck(dialog, IDC_SERIALIZE, s.serializeRcpts);
    SetCheck(dialog, IDC_REPORT_SWITCH, s.reportSwitch);
    SetCheck(dialog, IDC_EXCLUDE_REPLY_TO, s.excludeReplyTo);
    SetCheck(dialog, IDC_SELF_EXCLUDE, s.selfExclude);
    SetCheck(dialog, IDC_INSPECT, s.inspect);
    SetCheck(dialog, IDC_SINGLE_WARNING, s.singleWarning);
    SetCheck(dialog, IDC_EMPTY_SUBJECT, s.emptySubject);
    SetCheck(dialog, IDC_EXTEND_TEMPLATE, s.extendTemplate);
    SetCheck(dialog, IDC_REPLACE_VIEW, s.replaceMessageView);
    SetCheck(dialog, IDC_CTRL_NO_EFFECT, s.ctrlNoEffect);
    SetCheck(dialog, IDC_PLUGIN_HEADER, s.addPluginHeader);
    SetCheck(dialog, IDC_IGNORE_CASE, s.ignoreCase);

    SetRadio(dialog, kReplyRadios, s.replyFormat);

    SetCheck(dialog, IDC_ARRANGE_KEEP_TO, s.arrange == 1);
    SetCheck(dialog, IDC_ARRANGE_DEFAULT, s.arrange != 1);
    EnableArrangeOptions(dialog, s.arrange != 0);

    SendDlgItemMessageA(dialog, IDC_REPORT_FILE, EM_LIMITTEXT, kPathSize - 1, 0);
    SetDlgItemTextA(dialog, IDC_REPORT_FILE, s.reportFile);
    EnableReportFile(dialog, s.reportSwitch);

    EnableAll(dialog, kViewRadios, s.replaceMessageView);
    SetRadio(dialog, kViewRadios, s.replaceViewFormat);

    s.attachWordsWork.CopyFrom(s.attachWords);
    FillListBox(dialog, IDC_WORD_LIST, s.attachWordsWork);
    s.domainsWork.CopyFrom(s.domains);
    FillListBox(dialog, IDC_DOMAIN_LIST, s.domainsWork);

    SetRadio(dialog, kGroupRadios, s.groupFormat);
    ApplyEnableRule(dialog, s);

    // The send check's values wait here until OK saves them with the rest.
    context.sendCheck = SendCheckValuesOf(s);
    s.trustedDomainsWork.CopyFrom(s.trustedDomains);

    win32::ScopedIcon icon(static_cast<HICON>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_HALYARD), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    if (icon) {
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Get()));
        context.icon = std::move(icon);
    }
}

void Save(HWND dialog, SettingsDialogContext& context) {
    SSettings& s = context.settings;
    ApplySendCheckValues(context.sendCheck, s);
    s.useAddrBook = Checked(dialog, IDC_USE_ADDR_BOOK);
    s.replyFormat = ReadRadio(dialog, kReplyRadios);
    s.arrange = ArrangeFromRadios(Checked(dialog, IDC_ARRANGE_DEFAULT),
                                  Checked(dialog, IDC_ARRANGE_KEEP_TO));
    s.excludeReplyTo = Checked(dialog, IDC_EXCLUDE_REPLY_TO);
    s.selfExclude = Checked(dialog, IDC_SELF_EXCLUDE);
    s.serializeRcpts = Checked(dialog, IDC_SERIALIZE);
    s.reportSwitch = Checked(dialog, IDC_REPORT_SWITCH);
    char file[kPathSize] = {};
    GetDlgItemTextA(dialog, IDC_REPORT_FILE, file, sizeof file);
    std::memcpy(s.reportFile, file, sizeof s.reportFile);
    s.reportFile[sizeof s.reportFile - 1] = '\0';
    s.addPluginHeader = Checked(dialog, IDC_PLUGIN_HEADER);
    s.ctrlNoEffect = Checked(dialog, IDC_CTRL_NO_EFFECT);
    s.inspect = Checked(dialog, IDC_INSPECT);
    s.extendTemplate = Checked(dialog, IDC_EXTEND_TEMPLATE);
    s.ignoreCase = Checked(dialog, IDC_IGNORE_CASE);
    s.singleWarning = Checked(dialog, IDC_SINGLE_WARNING);
    s.emptySubject = Checked(dialog, IDC_EMPTY_SUBJECT);
    s.replaceMessageView = Checked(dialog, IDC_REPLACE_VIEW);
    s.replaceViewFormat = ReadRadio(dialog, kViewRadios);
    s.groupFormat = ReadRadio(dialog, kGroupRadios);
    if (!SaveSettings(s)) {
        // The table's failure, then what became of the file and the changes.
        const std::string text = platform::LoadResString(kStrCannotWriteFile) + "\n" +
                                 platform::LoadResString(kStrSettingsNotSaved);
        const std::string caption = platform::LoadResString(kStrErrorCaption);
        platform::ShowMessageBox(dialog, text.c_str(), caption.c_str(), platform::kMbIconWarning);
    }
}

bool OnCommand(HWND dialog, SettingsDialogContext& context, int id) {
    SSettings& s = context.settings;
    switch (id) {
    case IDC_ARRANGE_DEFAULT: EnableArrangeOptions(dialog, !Checked(dialog, IDC_ARRANGE_DEFAULT)); break;
    case IDC_ARRANGE_KEEP_TO: EnableArrangeOptions(dialog, Checked(dialog, IDC_ARRANGE_KEEP_TO)); break;
    case IDC_REPORT_SWITCH: EnableReportFile(dialog, Checked(dialog, IDC_REPORT_SWITCH)); break;
    case IDC_REPORT_BROWSE:
        if (Checked(dialog, IDC_REPORT_SWITCH)) ChooseReportFile(dialog, s);
        break;
    case IDC_REPLACE_VIEW: EnableAll(dialog, kViewRadios, Checked(dialog, IDC_REPLACE_VIEW)); break;
    case IDC_USE_ADDR_BOOK:
    case IDC_INSPECT: ApplyEnableRule(dialog, s); break;
    case IDC_DOMAIN_ADD: AddListItem(dialog, IDC_DOMAIN_LIST, s.domainsWork); ApplyEnableRule(dialog, s); break;
    case IDC_DOMAIN_EDIT: EditListItem(dialog, IDC_DOMAIN_LIST, s.domainsWork); ApplyEnableRule(dialog, s); break;
    case IDC_DOMAIN_DELETE: DeleteListItem(dialog, IDC_DOMAIN_LIST, s.domainsWork); ApplyEnableRule(dialog, s); break;
    case IDC_WORD_ADD: AddListItem(dialog, IDC_WORD_LIST, s.attachWordsWork); ApplyEnableRule(dialog, s); break;
    case IDC_WORD_EDIT: EditListItem(dialog, IDC_WORD_LIST, s.attachWordsWork); ApplyEnableRule(dialog, s); break;
    case IDC_WORD_DELETE: DeleteListItem(dialog, IDC_WORD_LIST, s.attachWordsWork); ApplyEnableRule(dialog, s); break;
    case IDC_HELP_BUTTON: OpenHelpPage(dialog); break;
    case IDC_SUPPORT_LINK: OpenSupportMail(dialog); break;
    case IDC_CHECK_VERSION:
        StartUpdateCheck(dialog, s.settingsPath);
        break;
    case IDC_SEND_CHECK_SETTINGS:
        RunSendCheckDialog(dialog, &context.sendCheck, &s.trustedDomainsWork);
        break;
    case IDOK: Save(dialog, context); EndDialog(dialog, IDOK); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: return false;
    }
    return true;
}

INT_PTR SettingsDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* context = reinterpret_cast<SettingsDialogContext*>(lParam);
        if (!context) return FALSE;
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        InitDialog(dialog, *context);
        return TRUE;
    }
    auto* context = reinterpret_cast<SettingsDialogContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!context) return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        return OnCommand(dialog, *context, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_SUPPORT_LINK)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kLinkColour);
            SetBkMode(dc, TRANSPARENT);
            // A system brush: never released.
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return FALSE;
    case WM_DESTROY:
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        context->icon.Reset();
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(dialog, [&] { return SettingsDialogMessage(dialog, message, wParam, lParam); });
}

int RunSettingsDialog(HWND owner, SSettings& settings, const char* productVersion) {
    SettingsDialogContext context{settings, productVersion ? productVersion : "", {}, {}};
    const INT_PTR result = DialogBoxParamA(Instance(), MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                                           SettingsDialogProc, reinterpret_cast<LPARAM>(&context));
    return result == IDOK || result == IDCANCEL ? static_cast<int>(result) : 0;
}
