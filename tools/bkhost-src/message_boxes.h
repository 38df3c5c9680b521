// Message boxes the plug-in shows: a CBT hook on the host's thread answers
// each box as it appears, with the next queued answer or its default button,
// and prints "messagebox [CAPTION] TEXT -> ANSWER".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

bool InstallBoxHook();
void RemoveBoxHook();

// Queues "OK", "Cancel", "Yes" or "No" for the next box; line is the script
// line that queued it.
void QueueAnswer(const std::string& answer, int line);
struct SUnusedAnswer {
    std::string answer;
    int line;
};
// Answers queued but never used, in queue order.
std::vector<SUnusedAnswer> UnusedAnswers();

// A dialog that is no message box goes to the handler first; when it takes
// the dialog (answers true) the hook leaves it alone, otherwise it is
// closed as Cancel ("dialog [CAPTION] -> Cancel"). Null: no handler.
using SDialogHandler = bool (*)(HWND dialog);
void SetDialogHandler(SDialogHandler handler);

// The hook sees the host's thread only: boxes that other threads of the
// process show are found by looking, and answered the same way.
void AnswerOtherThreadsBoxes();

// Called when a box of the host's thread opens, with its text as printed,
// before it is answered: inside the box's own message loop, as the user's
// work in the host's other windows reaches the plug-in while a box is up.
using SBoxReaction = void (*)(const std::string& text, void* context);
void SetBoxReaction(SBoxReaction reaction, void* context);

// Box texts (as printed) since the last call, which clears them.
std::vector<std::string> TakeShownBoxes();
