// Runs the actions of a setup-dialog block inside the settings dialog while
// BKC_OnPlugInSetup holds it open. The actions run one at a time from the
// host thread's message loop (the dialog's modal loop, or the loop of a
// dialog opened above it), so a click that opens another modal dialog lets
// the next actions act on that one.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "dialog_actions.h"
#include "script_text.h"

class SDialogDriver {
public:
    // shots: the Windows folder for pictures (UTF-8).
    SDialogDriver(const std::vector<SDialogAction>& actions, const SScriptPaths& paths,
                  std::string shots);
    ~SDialogDriver();
    SDialogDriver(const SDialogDriver&) = delete;
    SDialogDriver& operator=(const SDialogDriver&) = delete;

    // Around the call: Begin before BKC_OnPlugInSetup, Finish after it
    // returned (reports what was left undone, closes what was left open).
    bool Begin();
    void Finish(int callLine);
    // An action's text could not be written in the code page: the dialog
    // was cancelled and the run cannot go on (exit status 2).
    bool TakeScriptError(int* line, std::string* text) const;

private:
    enum class SOutcome { Done, Wait };

    static bool OnDialog(HWND dialog);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void Schedule();
    void Step();
    // Performs an action; Wait when it cannot run yet (it runs again later).
    SOutcome Run(const SDialogAction& action, HWND front);
    SOutcome RunOnControl(const SDialogAction& action, HWND front);
    SOutcome RunOnSettings(const SDialogAction& action, HWND front);
    // Marks the current action done and schedules the next before the
    // action's effect, which may open a modal dialog of its own.
    void Commit();
    // Answers the dialog in front when a token or file answer waits for it.
    bool AnswerWaiting(HWND front);
    void AnswerFileDialog(HWND dialog, const std::string& path);
    // The text as the plug-in gets it; false (and the block ends) when the
    // code page cannot write it.
    bool TextForPlugin(const SDialogAction& action, const std::string& text, std::wstring* out);
    std::string Expand(const std::string& text) const;
    void CloseLeftWindows(int callLine);

    struct SToken {
        bool ok;
        std::string text;
        int line;
    };
    struct SFileAnswer {
        std::string path;
        int line;
    };

    std::vector<SDialogAction> actions_;
    SScriptPaths paths_;
    std::string shots_;
    size_t next_ = 0;
    bool announced_ = false;
    DWORD waitSince_ = 0;
    DWORD disabledSince_ = 0;   // when the settings dialog was first seen disabled, alone in front
    HWND window_ = nullptr;
    HWND settings_ = nullptr;
    std::deque<SToken> tokens_;
    std::deque<SFileAnswer> files_;
    bool scriptError_ = false;
    int errorLine_ = 0;
    std::string errorText_;
};
