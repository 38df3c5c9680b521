// The actions of a setup-dialog block: what a user does inside the settings
// dialog and the dialogs it opens. Parsed with the script, so a bad action
// refuses the whole script before anything runs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class SDialogVerb {
    Click,          // click ID
    Check,          // check ID on|off
    Type,           // type ID TEXT
    Select,         // select ID INDEX
    Token,          // token [TEXT]
    TokenCancel,    // token-cancel
    ChooseFile,     // choose-file PATH
    Answer,         // answer OK|Cancel|Yes|No
    WaitClosed,     // wait-closed TITLE
    CancelDialog,   // cancel-dialog TITLE
    OkDialog,       // ok-dialog TITLE
    ExpectEnabled,  // expect-enabled ID yes|no
    ExpectChecked,  // expect-checked ID yes|no
    ExpectText,     // expect-text ID: TEXT
    ExpectList,     // expect-list ID: A, B
    ExpectTitle,    // expect-title TEXT
    Screenshot,     // screenshot NAME
    Ok,             // ok
    Cancel,         // cancel
};

struct SDialogAction {
    int line = 0;          // the script line, for FAIL lines
    std::string written;   // the line as written, for "dialog: ACTION"
    SDialogVerb verb = SDialogVerb::Cancel;
    int id = 0;            // the control, for the actions that name one
    bool yes = false;      // check on, expect-* yes
    int index = 0;         // select
    std::string text;      // the rest: text, path, title, answer, name (not expanded)
};

// Parses one block line. On failure *error holds the reason.
bool ParseDialogAction(std::string_view line, SDialogAction* action, std::string* error);

// Parses a whole block: blank lines and "#" lines are skipped; ok or cancel
// may only come last; a block without either ends with cancel.
bool ParseDialogBlock(const std::vector<std::string>& block, int firstLine,
                      std::vector<SDialogAction>* actions, std::string* error);
