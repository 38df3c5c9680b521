// Message boxes the plug-in shows: a CBT hook on the host's thread answers
// each box as it appears, with the next queued answer or its default button,
// and prints "messagebox [CAPTION] TEXT -> ANSWER".
#pragma once

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

// Box texts (as printed) since the last call, which clears them.
std::vector<std::string> TakeShownBoxes();
