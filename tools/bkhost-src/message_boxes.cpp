#include "message_boxes.h"

#include <windows.h>

#include <deque>

#include "codepage.h"
#include "dialog_windows.h"
#include "host_windows.h"
#include "transcript.h"

namespace {

constexpr int kBoxTextId = 0xFFFF;           // the static control holding a box's text
constexpr wchar_t kAnsweredProp[] = L"BkHostAnswered";

struct SQueuedAnswer {
    std::string name;
    int line;
};

struct SButton {
    int id;
    const char* name;
};

constexpr SButton kButtons[] = {
    {IDOK, "OK"},       {IDCANCEL, "Cancel"}, {IDABORT, "Abort"},     {IDRETRY, "Retry"},
    {IDIGNORE, "Ignore"}, {IDYES, "Yes"},     {IDNO, "No"},           {IDTRYAGAIN, "Try Again"},
    {IDCONTINUE, "Continue"},
};

constexpr UINT kAnswerMessage = WM_APP + 1;
constexpr wchar_t kAnswererClass[] = L"BkHostAnswerer";

HHOOK g_hook = nullptr;
HWND g_answerer = nullptr;
std::deque<SQueuedAnswer> g_answers;
std::vector<std::string> g_shown;
SDialogHandler g_dialogHandler = nullptr;
SBoxReaction g_reaction = nullptr;
void* g_reactionContext = nullptr;

// Line breaks written as \n, as the transcript shows them.
std::string OneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\r' || text[i] == '\n') out += "\\n";
        else out.push_back(text[i]);
    }
    return out;
}

// The button Enter would press. A message box gives its default button the
// focus (Wine's DM_GETDEFID keeps answering IDOK), so the focus comes first.
int DefaultButton(HWND box) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    HWND focus = GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui) ? gui.hwndFocus : nullptr;
    if (focus && GetParent(focus) == box) {
        int id = GetDlgCtrlID(focus);
        for (const SButton& button : kButtons)
            if (button.id == id) return id;
    }
    LRESULT def = SendMessageW(box, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID && GetDlgItem(box, LOWORD(def))) return LOWORD(def);
    for (const SButton& button : kButtons)
        if (GetDlgItem(box, button.id)) return button.id;
    return IDOK;
}

const char* ButtonName(int id) {
    for (const SButton& button : kButtons)
        if (button.id == id) return button.name;
    return "?";
}

int ButtonId(const std::string& name) {
    for (const SButton& button : kButtons)
        if (name == button.name) return button.id;
    return 0;
}

void Press(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

void AnswerBox(HWND box, bool react) {
    std::string caption = OneLine(WindowTextUtf8(box));
    std::string text = OneLine(WindowTextUtf8(GetDlgItem(box, kBoxTextId)));
    int id = DefaultButton(box);
    if (!g_answers.empty()) {
        SQueuedAnswer answer = g_answers.front();
        g_answers.pop_front();
        int wanted = ButtonId(answer.name);
        if (GetDlgItem(box, wanted)) {
            id = wanted;
        } else {
            PrintFail(answer.line, "a box with the button " + answer.name,
                      "a box without it: [" + caption + "] " + text);
        }
    }
    // The answer was taken first: answers the reaction queues belong to the
    // boxes it opens itself.
    if (react && g_reaction) g_reaction(text, g_reactionContext);
    if (!IsWindow(box)) return;
    PrintLine("messagebox [" + caption + "] " + text + " -> " + ButtonName(id));
    g_shown.push_back(text);
    Press(box, id);
}

void Answer(HWND window) {
    if (!IsWindow(window)) return;
    if (IsMessageBox(window)) {
        AnswerBox(window, true);
    } else if (g_dialogHandler && g_dialogHandler(window)) {
        // Driven by the script's dialog actions.
    } else {
        // A dialog that no command drives: closed as Cancel.
        PrintLine("dialog [" + OneLine(WindowTextUtf8(window)) + "] -> Cancel");
        Press(window, IDCANCEL);
    }
}

LRESULT CALLBACK AnswererProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAnswerMessage) {
        Answer(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A dialog is answered once its set-up has finished: the activation comes
// while the box still chooses its default button, so the answer is posted
// and taken from the box's own message loop.
LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsDialogClass(window) && !GetPropW(window, kAnsweredProp)) {
            SetPropW(window, kAnsweredProp, reinterpret_cast<HANDLE>(1));
            PostMessageW(g_answerer, kAnswerMessage, reinterpret_cast<WPARAM>(window), 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

bool InstallBoxHook() {
    WNDCLASSW cls = {};
    cls.lpfnWndProc = AnswererProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kAnswererClass;
    RegisterClassW(&cls);
    g_answerer = CreateWindowExW(0, kAnswererClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (!g_answerer) return false;
    g_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    return g_hook != nullptr;
}

void RemoveBoxHook() {
    if (g_hook) UnhookWindowsHookEx(g_hook);
    if (g_answerer) DestroyWindow(g_answerer);
    g_hook = nullptr;
    g_answerer = nullptr;
}

void QueueAnswer(const std::string& answer, int line) { g_answers.push_back({answer, line}); }

std::vector<SUnusedAnswer> UnusedAnswers() {
    std::vector<SUnusedAnswer> unused;
    for (const SQueuedAnswer& answer : g_answers) unused.push_back({answer.name, answer.line});
    return unused;
}

std::vector<std::string> TakeShownBoxes() {
    std::vector<std::string> shown;
    shown.swap(g_shown);
    return shown;
}

void SetDialogHandler(SDialogHandler handler) { g_dialogHandler = handler; }

void SetBoxReaction(SBoxReaction reaction, void* context) {
    g_reaction = reaction;
    g_reactionContext = context;
}

void AnswerOtherThreadsBoxes() {
    for (HWND window : VisibleProcessWindows()) {
        if (!OnOtherThread(window) || !IsMessageBox(window) || GetPropW(window, kAnsweredProp))
            continue;
        SetPropW(window, kAnsweredProp, reinterpret_cast<HANDLE>(1));
        AnswerBox(window, false);
    }
}
