// The transcript on standard output: UTF-8 lines, flushed one by one so that
// a run that dies still shows how far it got.
#pragma once

#include <string>
#include <string_view>

void PrintLine(std::string_view utf8);

// "FAIL line N: expected E got G"; the run fails.
void PrintFail(int line, std::string_view expected, std::string_view got);

// The host saw the plug-in misuse it ("host: line N: ..."); the run fails.
void Complain(std::string_view what);

// The script line being run, for complaints raised inside host calls.
void SetCurrentLine(int line);
int CurrentLine();

bool RunFailed();
void MarkFailed();
// How many failures the run has seen so far.
int FailureCount();

// Control characters shown as escapes, for values in FAIL lines.
std::string ShowEscaped(std::string_view utf8);
