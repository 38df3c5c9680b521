#include "dialog_driver.h"

#include <commctrl.h>
#include <commdlg.h>

#include "codepage.h"
#include "dialog_windows.h"
#include "file_ops.h"
#include "host_windows.h"
#include "message_boxes.h"
#include "screenshot.h"
#include "transcript.h"

namespace {

constexpr wchar_t kDriverClass[] = L"BkHostDialogDriver";
constexpr UINT kStepMessage = WM_APP + 2;
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 50;
constexpr DWORD kWaitClosedMs = 60000;
constexpr DWORD kDialogAppearMs = 10000;   // cancel-dialog and ok-dialog wait this long for it
constexpr DWORD kLeftWindowMs = 5000;

constexpr int kTokenFieldId = 1062;   // the Edit Token dialog's one field
// Controls of the system's open-file dialog.
constexpr int kFileTypeComboId = 0x470;   // cmb1
constexpr int kFileNameComboId = 0x47C;   // cmb13
constexpr int kFileNameEditId = 0x480;    // edt1

SDialogDriver* g_active = nullptr;

std::string Title(HWND window) { return "[" + WindowTextUtf8(window) + "]"; }

// The file name is typed into an edit field: Windows puts it inside a combo
// box, Wine inside an extended combo box (whose edit sits one level deeper).
HWND FileNameField(HWND dialog) {
    HWND combo = GetDlgItem(dialog, kFileNameComboId);
    if (combo) {
        wchar_t cls[32] = {};
        GetClassNameW(combo, cls, 32);
        HWND edit = lstrcmpiW(cls, WC_COMBOBOXEXW) == 0
                        ? reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0))
                        : FindWindowExW(combo, nullptr, L"Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(dialog, kFileNameEditId);
}

bool IsFileDialog(HWND dialog) {
    return FileNameField(dialog) && GetDlgItem(dialog, kFileTypeComboId);
}

std::string Switch(const SDialogAction& action, bool on, const char* yes, const char* no) {
    return std::to_string(action.id) + " " + (on ? yes : no);
}

}  // namespace

SDialogDriver::SDialogDriver(const std::vector<SDialogAction>& actions, const SScriptPaths& paths,
                             std::string shots)
    : actions_(actions), paths_(paths), shots_(std::move(shots)) {}

SDialogDriver::~SDialogDriver() {
    if (g_active == this) {
        SetDialogHandler(nullptr);
        g_active = nullptr;
    }
    if (window_) DestroyWindow(window_);
}

bool SDialogDriver::Begin() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW cls = {};
        cls.lpfnWndProc = WindowProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = kDriverClass;
        registered = RegisterClassW(&cls) != 0;
    }
    window_ = CreateWindowExW(0, kDriverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_ || !SetTimer(window_, kPollTimer, kPollMs, nullptr)) return false;
    g_active = this;
    SetDialogHandler(&SDialogDriver::OnDialog);
    return true;
}

bool SDialogDriver::OnDialog(HWND dialog) {
    if (!g_active) return false;
    if (!g_active->settings_) g_active->settings_ = dialog;
    g_active->Schedule();
    return true;
}

LRESULT CALLBACK SDialogDriver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_active && (message == kStepMessage || message == WM_TIMER)) {
        if (message == WM_TIMER) AnswerOtherThreadsBoxes();
        g_active->Step();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void SDialogDriver::Schedule() { PostMessageW(window_, kStepMessage, 0, 0); }

void SDialogDriver::Commit() {
    ++next_;
    announced_ = false;
    Schedule();
}

void SDialogDriver::Step() {
    if (next_ >= actions_.size()) return;
    HWND front = FrontWindow();
    if (!settings_) {
        // The hook names the settings dialog; this is for one it missed.
        if (!front || !IsDialogClass(front) || IsMessageBox(front) || OnOtherThread(front)) return;
        settings_ = front;
    }
    if (!IsWindow(settings_) || !IsWindowVisible(settings_)) return;
    // A message box is answered by the box hook (or the poll for other
    // threads); the actions go on once it is gone.
    if (front && IsMessageBox(front)) return;
    // A click that opens a modal dialog disables its owner (the settings
    // dialog, or a dialog opened from it) at once, but the new dialog shows
    // only when its message loop first idles: the next action waits for it
    // rather than act on the owner.
    if (front && (front == settings_ || IsDialogClass(front)) && !IsWindowEnabled(front)) {
        if (!disabledSince_) disabledSince_ = GetTickCount();
        if (GetTickCount() - disabledSince_ < kDialogAppearMs) return;
    } else {
        disabledSince_ = 0;
    }
    if (AnswerWaiting(front)) return;

    // A copy: the effect of an action may run the next ones meanwhile.
    const SDialogAction action = actions_[next_];
    if (!announced_) {
        announced_ = true;
        waitSince_ = GetTickCount();
        SetCurrentLine(action.line);
        if (!action.written.empty()) PrintLine("dialog: " + action.written);
    }
    Run(action, front ? front : settings_);
}

SDialogDriver::SOutcome SDialogDriver::Run(const SDialogAction& action, HWND front) {
    switch (action.verb) {
    case SDialogVerb::Answer:
        Commit();
        QueueAnswer(action.text, action.line);
        return SOutcome::Done;
    case SDialogVerb::Token:
    case SDialogVerb::TokenCancel:
        Commit();
        tokens_.push_back({action.verb == SDialogVerb::Token, action.text, action.line});
        return SOutcome::Done;
    case SDialogVerb::ChooseFile:
        Commit();
        files_.push_back({ResolveScriptPath(Expand(action.text), paths_.data), action.line});
        return SOutcome::Done;
    case SDialogVerb::WaitClosed:
        if (FindWindowByTitle(Expand(action.text))) {
            if (GetTickCount() - waitSince_ < kWaitClosedMs) return SOutcome::Wait;
            PrintFail(action.line, "no window titled " + action.text, "one open after 60 s");
        }
        Commit();
        return SOutcome::Done;
    case SDialogVerb::CancelDialog:
    case SDialogVerb::OkDialog: {
        HWND dialog = FindWindowByTitle(Expand(action.text));
        if (!dialog && GetTickCount() - waitSince_ < kDialogAppearMs) return SOutcome::Wait;
        Commit();
        const bool ok = action.verb == SDialogVerb::OkDialog;
        if (!dialog) PrintFail(action.line, "a dialog titled " + action.text, "none");
        else if (!ok) PressCancel(dialog);
        else if (!PressOk(dialog)) PrintFail(action.line, "an enabled OK in " + Title(dialog), "none");
        return SOutcome::Done;
    }
    case SDialogVerb::ExpectTitle: {
        Commit();
        std::string title = WindowTextUtf8(settings_);
        if (title != Expand(action.text))
            PrintFail(action.line, "title " + action.text, "title " + title);
        return SOutcome::Done;
    }
    case SDialogVerb::Screenshot: {
        Commit();
        std::string error;
        if (!CreateFolders(shots_) ||
            !SaveWindowPicture(front, shots_ + "\\" + action.text + ".png", &error))
            PrintFail(action.line, "a picture " + action.text + ".png",
                      error.empty() ? "no folder " + shots_ : error);
        return SOutcome::Done;
    }
    case SDialogVerb::Ok:
    case SDialogVerb::Cancel:
        return RunOnSettings(action, front);
    default:
        return RunOnControl(action, front);
    }
}

SDialogDriver::SOutcome SDialogDriver::RunOnSettings(const SDialogAction& action, HWND front) {
    if (front != settings_ && !IsWindowEnabled(settings_)) {
        // A modal dialog above it takes the clicks: it goes first, as the
        // host closes a dialog nobody drives. A modeless window in front
        // (a progress window) does not stand in the way.
        if (!scriptError_)
            PrintFail(action.line, "the settings dialog in front for " +
                                       (action.written.empty() ? std::string("the end of the block")
                                                               : action.written),
                      Title(front));
        PrintLine("dialog " + Title(front) + " -> Cancel");
        PressCancel(front);
        return SOutcome::Wait;
    }
    Commit();
    HWND button = GetDlgItem(settings_, action.verb == SDialogVerb::Ok ? IDOK : IDCANCEL);
    if (button && IsWindowEnabled(button)) {
        ClickControl(button);
        return SOutcome::Done;
    }
    PrintFail(action.line, "an enabled button " + action.written, "none");
    PostMessageW(settings_, WM_COMMAND, IDCANCEL, 0);
    return SOutcome::Done;
}

SDialogDriver::SOutcome SDialogDriver::RunOnControl(const SDialogAction& action, HWND front) {
    const std::string id = std::to_string(action.id);
    HWND control = GetDlgItem(front, action.id);
    if (!control) {
        Commit();
        PrintFail(action.line, "a control " + id + " in " + Title(front), "none");
        return SOutcome::Done;
    }
    const bool enabled = IsWindowEnabled(control) && IsWindowVisible(control);
    const std::string cls = ClassOf(control);
    const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;

    switch (action.verb) {
    case SDialogVerb::Click:
    case SDialogVerb::Check:
        if (action.verb == SDialogVerb::Check && !IsCheckable(control)) {
            Commit();
            PrintFail(action.line, "a check box or radio button " + id, "a " + cls + " control");
            return SOutcome::Done;
        }
        if (action.verb == SDialogVerb::Check && checked == action.yes) {
            Commit();
            return SOutcome::Done;
        }
        if (action.verb == SDialogVerb::Check && !action.yes && IsRadioButton(control)) {
            Commit();
            PrintFail(action.line, "a check box " + id + " to clear",
                      "a radio button, which a click does not clear");
            return SOutcome::Done;
        }
        Commit();
        if (!enabled) PrintFail(action.line, "an enabled control " + id + " to click", "a disabled one");
        else ClickControl(control);
        return SOutcome::Done;
    case SDialogVerb::Type: {
        std::wstring text;
        if (cls != "edit") {
            Commit();
            PrintFail(action.line, "an edit field " + id, "a " + cls + " control");
        } else if (!enabled || (GetWindowLongW(control, GWL_STYLE) & ES_READONLY)) {
            Commit();
            PrintFail(action.line, "an editable field " + id, enabled ? "a read-only one" : "a disabled one");
        } else if (TextForPlugin(action, action.text, &text)) {
            Commit();
            TypeInto(control, text);
        }
        return SOutcome::Done;
    }
    case SDialogVerb::Select: {
        Commit();
        LRESULT count = SendMessageW(control, LB_GETCOUNT, 0, 0);
        if (cls != "listbox") {
            PrintFail(action.line, "a list box " + id, "a " + cls + " control");
        } else if (!enabled) {
            PrintFail(action.line, "an enabled list " + id + " to click", "a disabled one");
        } else if (action.index >= count) {
            PrintFail(action.line, "an item " + std::to_string(action.index) + " in list " + id,
                      std::to_string(count) + " items");
        } else {
            ClickListItem(control, action.index);
            LRESULT selected = SendMessageW(control, LB_GETCURSEL, 0, 0);
            if (selected != action.index)
                PrintFail(action.line, "item " + std::to_string(action.index) + " selected",
                          "item " + std::to_string(selected));
        }
        return SOutcome::Done;
    }
    case SDialogVerb::ExpectEnabled:
        Commit();
        if (enabled != action.yes)
            PrintFail(action.line, Switch(action, action.yes, "enabled", "disabled"),
                      Switch(action, enabled, "enabled", "disabled"));
        return SOutcome::Done;
    case SDialogVerb::ExpectChecked:
        Commit();
        if (checked != action.yes)
            PrintFail(action.line, Switch(action, action.yes, "checked", "unchecked"),
                      Switch(action, checked, "checked", "unchecked"));
        return SOutcome::Done;
    case SDialogVerb::ExpectText:
    case SDialogVerb::ExpectList: {
        Commit();
        std::string got = action.verb == SDialogVerb::ExpectText ? WindowTextUtf8(control)
                                                                 : ListItemsUtf8(control);
        std::string want = Expand(action.text);
        if (got != want)
            PrintFail(action.line, id + ": " + ShowEscaped(want), id + ": " + ShowEscaped(got));
        return SOutcome::Done;
    }
    default:
        Commit();
        return SOutcome::Done;
    }
}

bool SDialogDriver::AnswerWaiting(HWND front) {
    if (!front || front == settings_ || !IsDialogClass(front)) return false;
    if (GetDlgItem(front, kTokenFieldId) && !tokens_.empty()) {
        SToken token = tokens_.front();
        tokens_.pop_front();
        SDialogAction typed;
        typed.line = token.line;
        std::wstring text;
        if (token.ok && !TextForPlugin(typed, token.text, &text)) return true;
        Schedule();
        if (token.ok) TypeInto(GetDlgItem(front, kTokenFieldId), text);
        ClickControl(GetDlgItem(front, token.ok ? IDOK : IDCANCEL));
        return true;
    }
    if (IsFileDialog(front) && !files_.empty()) {
        SFileAnswer answer = files_.front();
        files_.pop_front();
        Schedule();
        AnswerFileDialog(front, answer.path);
        return true;
    }
    return false;
}

void SDialogDriver::AnswerFileDialog(HWND dialog, const std::string& path) {
    char start[2 * MAX_PATH] = {};
    SendMessageA(dialog, CDM_GETFILEPATH, sizeof start, reinterpret_cast<LPARAM>(start));
    start[sizeof start - 1] = '\0';
    PrintLine("file-dialog " + Title(dialog) + " start " + Printable(start));
    std::string ansi = Utf8ToCodePageLossy(path, AnsiCodePage());
    TypeInto(FileNameField(dialog), Utf8ToWide(Printable(ansi)));
    ClickControl(GetDlgItem(dialog, IDOK));
}

bool SDialogDriver::TextForPlugin(const SDialogAction& action, const std::string& text,
                                  std::wstring* out) {
    std::string utf8 = Expand(text);
    std::string ansi;
    if (Utf8ToCodePage(utf8, AnsiCodePage(), &ansi)) {
        *out = Utf8ToWide(Printable(ansi));
        return true;
    }
    // The run cannot go on: the dialog is cancelled without saving.
    scriptError_ = true;
    errorLine_ = action.line;
    errorText_ = "\"" + text + "\" cannot be written in code page " + std::to_string(AnsiCodePage());
    actions_.resize(next_);
    SDialogAction cancel;
    cancel.line = action.line;
    actions_.push_back(cancel);
    announced_ = false;
    Schedule();
    return false;
}

std::string SDialogDriver::Expand(const std::string& text) const {
    SScriptText expanded;
    std::string error;
    ExpandScriptText(text, false, paths_, &expanded, &error);
    return expanded.Utf8();
}

bool SDialogDriver::TakeScriptError(int* line, std::string* text) const {
    if (!scriptError_) return false;
    *line = errorLine_;
    *text = errorText_;
    return true;
}

void SDialogDriver::Finish(int callLine) {
    KillTimer(window_, kPollTimer);
    SetDialogHandler(nullptr);
    g_active = nullptr;
    if (scriptError_) {
        CloseLeftWindows(callLine);
        return;
    }
    if (!settings_) {
        PrintFail(callLine, "the settings dialog", "none");
    } else if (next_ < actions_.size()) {
        const SDialogAction& left = actions_[next_];
        if (!left.written.empty())
            PrintFail(left.line, "the settings dialog open for " + left.written, "it closed");
    }
    for (const SToken& token : tokens_)
        PrintFail(token.line, "an Edit Token dialog to answer", "none");
    for (const SFileAnswer& file : files_)
        PrintFail(file.line, "an open-file dialog to answer", "none");
    CloseLeftWindows(callLine);
}

// What the plug-in or its update check left open is closed as Cancel and
// fails the script.
void SDialogDriver::CloseLeftWindows(int callLine) {
    DWORD start = GetTickCount();
    while (HWND left = FrontWindow()) {
        if (GetTickCount() - start > kLeftWindowMs) {
            PrintFail(callLine, "no window left open", Title(left) + " that does not close");
            return;
        }
        if (!GetPropW(left, L"BkHostLeftOpen")) {
            SetPropW(left, L"BkHostLeftOpen", reinterpret_cast<HANDLE>(1));
            if (!scriptError_) PrintFail(callLine, "no window left open", Title(left));
            PrintLine("dialog " + Title(left) + " -> Cancel");
            PressCancel(left);
        }
        PumpMessages(kPollMs);
    }
}
