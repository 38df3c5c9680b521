// The send check as a script drives it: the actions of a send-check block,
// parsed with the script, and the driver that performs them inside the
// plug-in's send-check dialog while BKC_OnOutgoing holds it open.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "script_text.h"

enum class SSendCheckVerb {
    ExpectListed,       // expect-listed ADDRESS
    ExpectNotListed,    // expect-not-listed ADDRESS
    ExpectHeader,       // expect-header ADDRESS: HEADER
    ExpectName,         // expect-name ADDRESS: NAME (empty: in no address book)
    ExpectOutside,      // expect-outside ADDRESS yes|no
    ExpectNew,          // expect-new ADDRESS yes|no
    ExpectOrder,        // expect-order ADDRESS, ADDRESS, ...
    ExpectWarnings,     // expect-warnings N
    Tick,               // tick ADDRESS
    Untick,             // untick ADDRESS
    TickAll,            // tick-all
    ExpectSendEnabled,  // expect-send-enabled yes|no
    Screenshot,         // screenshot NAME
    Send,               // send
    Cancel,             // cancel
};

struct SSendCheckAction {
    int line = 0;
    std::string written;              // as written, for "send-check: ACTION"; "" for the implied cancel
    SSendCheckVerb verb = SSendCheckVerb::Cancel;
    std::string address;              // UTF-8, as written
    std::string text;                 // header, name, picture name
    bool yes = false;
    int count = 0;
    std::vector<std::string> order;   // expect-order
};

// Parses a whole block: blank and "#" lines skipped; send or cancel only
// last; a block without either ends with cancel. *error: "line N: reason".
bool ParseSendCheckBlock(const std::vector<std::string>& block, int firstLine,
                         std::vector<SSendCheckAction>* actions, std::string* error);

class SSendCheckDriver {
public:
    SSendCheckDriver(std::vector<SSendCheckAction> actions, const SScriptPaths& paths,
                     std::string shots);
    ~SSendCheckDriver();
    SSendCheckDriver(const SSendCheckDriver&) = delete;
    SSendCheckDriver& operator=(const SSendCheckDriver&) = delete;

    // Around BKC_OnOutgoing: Begin before the call, Finish after it
    // ("send-check: none" when the dialog never opened).
    void Begin();
    void Finish();

private:
    static bool OnDialog(HWND dialog);
    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD);
    void Drive(HWND dialog);
    // False when the action ended the dialog.
    bool Run(const SSendCheckAction& action, HWND dialog);
    void Toggle(const SSendCheckAction& action, HWND list, int item, bool tick);

    std::vector<SSendCheckAction> actions_;
    SScriptPaths paths_;
    std::string shots_;
    bool shown_ = false;
    HWND dialog_ = nullptr;
    UINT_PTR timer_ = 0;
};
