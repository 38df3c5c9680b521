// A host script: one command a line, some followed by a block of content
// lines closed by a line holding only ".". Parsing checks everything that can
// be checked before anything runs, so a bad script is refused whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialog_actions.h"
#include "send_check_driver.h"

struct SScriptCommand {
    int line = 0;                     // 1-based line number in the script
    std::string name;
    std::vector<std::string> args;    // as written, variables not yet expanded
    bool hasBlock = false;
    std::vector<std::string> block;   // content lines, as written
    std::vector<SDialogAction> actions;   // setup-dialog: the block's actions
    std::vector<SScriptCommand> nested;   // on-box: the block's commands
    std::vector<SSendCheckAction> sendCheck;   // send-check: the block's actions
};

struct SScript {
    std::vector<SScriptCommand> commands;
    bool japanese = false;            // lang ja
    bool withoutSetStatus = false;    // host-without-setstatus
};

// Parses UTF-8 script text. On failure *error holds "line N: reason".
bool ParseScript(std::string_view text, SScript* script, std::string* error);

// Splits "NAME: VALUE" (mail, compose, expect, expect-info, expect-menu) at
// the first colon; one space after the colon is dropped. False without colon.
bool SplitNamedValue(std::string_view text, std::string* name, std::string* value);

// Splits "INPUT => OUTPUT" at the first " => ".
bool SplitSerializeRule(std::string_view text, std::string* input, std::string* output);

// A decimal integer with optional sign, the whole text.
bool ParseInteger(std::string_view text, long long* value);
