#include "send_check_driver.h"

#include <commctrl.h>

#include <climits>

#include "codepage.h"
#include "dialog_windows.h"
#include "file_ops.h"
#include "host_windows.h"
#include "message_boxes.h"
#include "resources/dialog_ids.h"
#include "resources/string_ids.h"
#include "screenshot.h"
#include "script.h"
#include "transcript.h"

namespace {

// The dialog's columns, left to right: name, header, address, note.
constexpr int kNameColumn = 0;
constexpr int kHeaderColumn = 1;
constexpr int kAddressColumn = 2;
constexpr int kNoteColumn = 3;
constexpr size_t kCellSize = 2048;
constexpr UINT kPollMs = 20;
constexpr UINT kNoBox = 0;
constexpr UINT kUnticked = 1;
constexpr UINT kTicked = 2;

SSendCheckDriver* g_active = nullptr;

enum class SShape { None, Address, AddressColon, AddressSwitch, Order, Count, Rest };

struct SRule {
    std::string_view name;
    SSendCheckVerb verb;
    SShape shape;
    std::string_view on, off;
};

constexpr SRule kRules[] = {
    {"expect-listed", SSendCheckVerb::ExpectListed, SShape::Address, {}, {}},
    {"expect-not-listed", SSendCheckVerb::ExpectNotListed, SShape::Address, {}, {}},
    {"expect-header", SSendCheckVerb::ExpectHeader, SShape::AddressColon, {}, {}},
    {"expect-name", SSendCheckVerb::ExpectName, SShape::AddressColon, {}, {}},
    {"expect-outside", SSendCheckVerb::ExpectOutside, SShape::AddressSwitch, "yes", "no"},
    {"expect-new", SSendCheckVerb::ExpectNew, SShape::AddressSwitch, "yes", "no"},
    {"expect-order", SSendCheckVerb::ExpectOrder, SShape::Order, {}, {}},
    {"expect-warnings", SSendCheckVerb::ExpectWarnings, SShape::Count, {}, {}},
    {"tick", SSendCheckVerb::Tick, SShape::Address, {}, {}},
    {"untick", SSendCheckVerb::Untick, SShape::Address, {}, {}},
    {"tick-all", SSendCheckVerb::TickAll, SShape::None, {}, {}},
    {"expect-send-enabled", SSendCheckVerb::ExpectSendEnabled, SShape::Rest, "yes", "no"},
    {"screenshot", SSendCheckVerb::Screenshot, SShape::Rest, {}, {}},
    {"send", SSendCheckVerb::Send, SShape::None, {}, {}},
    {"cancel", SSendCheckVerb::Cancel, SShape::None, {}, {}},
};

std::string At(int line, const std::string& reason) { return "line " + std::to_string(line) + ": " + reason; }

bool IsPictureName(std::string_view name) {
    if (name.empty() || name[0] == '.') return false;
    for (char c : name) {
        bool fine = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.';
        if (!fine) return false;
    }
    return true;
}

bool ParseAction(std::string_view line, SSendCheckAction* action, std::string* reason) {
    const size_t space = line.find(' ');
    const std::string_view name = line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    const SRule* rule = nullptr;
    for (const SRule& candidate : kRules)
        if (candidate.name == name) rule = &candidate;
    if (!rule) {
        *reason = "unknown send-check action \"" + std::string(name) + "\"";
        return false;
    }
    action->verb = rule->verb;
    action->written = std::string(line);
    const std::string usage = "write " + std::string(name);
    switch (rule->shape) {
    case SShape::None:
        if (space == std::string_view::npos) return true;
        *reason = std::string(name) + " takes no argument";
        return false;
    case SShape::Address:
        action->address = std::string(rest);
        if (!rest.empty() && rest.find(' ') == std::string_view::npos) return true;
        *reason = usage + " ADDRESS";
        return false;
    case SShape::AddressColon: {
        // "ADDRESS: TEXT"; one space after the colon; TEXT may be empty.
        const size_t colon = rest.find(':');
        if (colon == 0 || colon == std::string_view::npos) {
            *reason = usage + " ADDRESS: TEXT";
            return false;
        }
        action->address = std::string(rest.substr(0, colon));
        std::string_view text = rest.substr(colon + 1);
        if (!text.empty() && text[0] == ' ') text.remove_prefix(1);
        action->text = std::string(text);
        return true;
    }
    case SShape::AddressSwitch: {
        const size_t gap = rest.rfind(' ');
        const std::string_view word = gap == std::string_view::npos ? std::string_view() : rest.substr(gap + 1);
        if (gap == 0 || gap == std::string_view::npos || (word != rule->on && word != rule->off)) {
            *reason = usage + " ADDRESS yes or " + usage + " ADDRESS no";
            return false;
        }
        action->address = std::string(rest.substr(0, gap));
        action->yes = word == rule->on;
        return true;
    }
    case SShape::Order: {
        std::string_view left = rest;
        while (!left.empty()) {
            const size_t comma = left.find(", ");
            action->order.emplace_back(left.substr(0, comma));
            left = comma == std::string_view::npos ? std::string_view() : left.substr(comma + 2);
        }
        if (action->order.size() >= 2) return true;
        *reason = usage + " ADDRESS, ADDRESS, ...";
        return false;
    }
    case SShape::Count: {
        long long count = -1;
        if (rest.empty() || rest[0] == '-' || rest[0] == '+' || !ParseInteger(rest, &count) ||
            count > 2) {
            *reason = usage + " N (0, 1 or 2)";
            return false;
        }
        action->count = static_cast<int>(count);
        return true;
    }
    case SShape::Rest:
        if (rule->verb == SSendCheckVerb::ExpectSendEnabled) {
            if (rest != rule->on && rest != rule->off) {
                *reason = usage + " yes or " + usage + " no";
                return false;
            }
            action->yes = rest == rule->on;
            return true;
        }
        if (IsPictureName(rest)) {
            action->text = std::string(rest);
            return true;
        }
        *reason = usage + " NAME (letters, digits, -, _ and .)";
        return false;
    }
    return false;
}


std::wstring Cell(HWND list, int item, int column) {
    std::wstring text(kCellSize, L'\0');
    LVITEMW lvi = {};
    lvi.iSubItem = column;
    lvi.pszText = &text[0];
    lvi.cchTextMax = static_cast<int>(kCellSize);
    const LRESULT got = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                     reinterpret_cast<LPARAM>(&lvi));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string CellUtf8(HWND list, int item, int column) { return WideToUtf8(Cell(list, item, column)); }

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// The first row of the address (letter case counts, as written); -1 when none.
int FindRow(HWND list, const std::string& address) {
    const int count = ItemCount(list);
    for (int item = 0; item < count; ++item)
        if (CellUtf8(list, item, kAddressColumn) == address) return item;
    return -1;
}

UINT BoxOf(HWND list, int item) {
    const UINT state = static_cast<UINT>(
        SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) >> 12;
}

// A text of the plug-in's string table, in the dialog's module.
std::string PluginString(HWND dialog, unsigned id) {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text ? WideToUtf8(std::wstring_view(text, static_cast<size_t>(length))) : "";
}

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

bool IsSendCheckDialog(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_SEND_CHECK_LIST);
    return list && ClassOf(list) == "syslistview32";
}

}  // namespace

bool ParseSendCheckBlock(const std::vector<std::string>& block, int firstLine,
                         std::vector<SSendCheckAction>* actions, std::string* error) {
    actions->clear();
    bool closed = false;
    for (size_t i = 0; i < block.size(); ++i) {
        const int line = firstLine + static_cast<int>(i);
        const std::string& text = block[i];
        if (text.find_first_not_of(" \t") == std::string::npos || text[0] == '#') continue;
        if (closed) {
            *error = At(line, "send or cancel must be the last action of the block");
            return false;
        }
        SSendCheckAction action;
        action.line = line;
        std::string reason;
        if (!ParseAction(text, &action, &reason)) {
            *error = At(line, reason);
            return false;
        }
        closed = action.verb == SSendCheckVerb::Send || action.verb == SSendCheckVerb::Cancel;
        actions->push_back(std::move(action));
    }
    if (!closed) {
        SSendCheckAction cancel;
        cancel.line = firstLine + static_cast<int>(block.size());
        actions->push_back(cancel);
    }
    return true;
}

SSendCheckDriver::SSendCheckDriver(std::vector<SSendCheckAction> actions, const SScriptPaths& paths,
                                   std::string shots)
    : actions_(std::move(actions)), paths_(paths), shots_(std::move(shots)) {}

SSendCheckDriver::~SSendCheckDriver() {
    if (timer_) KillTimer(nullptr, timer_);
    if (g_active == this) {
        SetDialogHandler(nullptr);
        g_active = nullptr;
    }
}

void SSendCheckDriver::Begin() {
    g_active = this;
    SetDialogHandler(&SSendCheckDriver::OnDialog);
}

void SSendCheckDriver::Finish() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
    if (g_active == this) {
        SetDialogHandler(nullptr);
        g_active = nullptr;
    }
    if (!shown_) PrintLine("send-check: none");
}

bool SSendCheckDriver::OnDialog(HWND dialog) {
    // Another dialog, or a second send check: closed as Cancel by the hook.
    if (!g_active || g_active->shown_ || !IsSendCheckDialog(dialog)) return false;
    g_active->shown_ = true;
    g_active->dialog_ = dialog;
    // A dialog shows once its message loop first idles: the actions wait
    // for that, as a user would.
    g_active->timer_ = SetTimer(nullptr, 0, kPollMs, &SSendCheckDriver::Poll);
    return true;
}

void CALLBACK SSendCheckDriver::Poll(HWND, UINT, UINT_PTR, DWORD) {
    SSendCheckDriver* self = g_active;
    if (!self || !self->dialog_) return;
    if (IsWindow(self->dialog_) && !IsWindowVisible(self->dialog_)) return;
    KillTimer(nullptr, self->timer_);
    self->timer_ = 0;
    HWND dialog = self->dialog_;
    self->dialog_ = nullptr;
    if (IsWindow(dialog)) self->Drive(dialog);
}

// The dialog is shown; this runs from its own message loop. Each action is a
// message or a key the dialog handles before the next one runs.
void SSendCheckDriver::Drive(HWND dialog) {
    PrintLine("send-check: shown");
    for (const SSendCheckAction& action : actions_) {
        SetCurrentLine(action.line);
        if (!action.written.empty()) PrintLine("send-check: " + action.written);
        if (!Run(action, dialog)) return;
    }
}

void SSendCheckDriver::Toggle(const SSendCheckAction& action, HWND list, int item, bool tick) {
    const UINT box = BoxOf(list, item);
    if (box == kNoBox) {
        PrintFail(action.line, "a check box for " + action.address, "a row without one");
        return;
    }
    if ((box == kTicked) == tick) return;
    // As the keyboard does it: the row gets the focus, Space flips its box.
    LVITEMW lvi = {};
    lvi.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    lvi.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(list, WM_KEYUP, VK_SPACE, 0xC0390001);
    const UINT now = BoxOf(list, item);
    if ((now == kTicked) != tick)
        PrintFail(action.line, action.address + (tick ? " ticked" : " unticked"),
                  now == kTicked ? "ticked" : "unticked");
}

bool SSendCheckDriver::Run(const SSendCheckAction& action, HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_SEND_CHECK_LIST);
    const int row = action.address.empty() ? -1 : FindRow(list, action.address);
    const bool needsRow = action.verb == SSendCheckVerb::ExpectHeader ||
                          action.verb == SSendCheckVerb::ExpectName ||
                          action.verb == SSendCheckVerb::ExpectOutside ||
                          action.verb == SSendCheckVerb::ExpectNew ||
                          action.verb == SSendCheckVerb::Tick || action.verb == SSendCheckVerb::Untick;
    if (needsRow && row < 0) {
        PrintFail(action.line, "a row for " + action.address, "none");
        return true;
    }
    switch (action.verb) {
    case SSendCheckVerb::ExpectListed:
    case SSendCheckVerb::ExpectNotListed: {
        const bool want = action.verb == SSendCheckVerb::ExpectListed;
        if ((row >= 0) != want)
            PrintFail(action.line, (want ? "a row for " : "no row for ") + action.address,
                      row >= 0 ? "row " + std::to_string(row) : "none");
        return true;
    }
    case SSendCheckVerb::ExpectHeader: {
        const std::string got = CellUtf8(list, row, kHeaderColumn);
        if (got != action.text) PrintFail(action.line, action.address + ": " + action.text, action.address + ": " + got);
        return true;
    }
    case SSendCheckVerb::ExpectName: {
        const std::string got = CellUtf8(list, row, kNameColumn);
        const std::string notListed = PluginString(dialog, kStrSendCheckNotListed);
        if (action.text.empty()) {
            if (got != notListed)
                PrintFail(action.line, action.address + " in no address book", "the name " + got);
        } else if (got != action.text) {
            PrintFail(action.line, action.address + ": " + action.text,
                      got == notListed ? action.address + " in no address book" : action.address + ": " + got);
        }
        return true;
    }
    case SSendCheckVerb::ExpectOutside: {
        const bool got = BoxOf(list, row) != kNoBox;
        if (got != action.yes)
            PrintFail(action.line, action.address + " outside " + YesNo(action.yes),
                      action.address + " outside " + YesNo(got));
        return true;
    }
    case SSendCheckVerb::ExpectNew: {
        const std::string mark = PluginString(dialog, kStrSendCheckNew);
        const bool got = !mark.empty() && CellUtf8(list, row, kNoteColumn).find(mark) != std::string::npos;
        if (got != action.yes)
            PrintFail(action.line, action.address + " new " + YesNo(action.yes),
                      action.address + " new " + YesNo(got));
        return true;
    }
    case SSendCheckVerb::ExpectOrder: {
        int last = -1;
        std::string seen;
        for (const std::string& address : action.order) {
            const int at = FindRow(list, address);
            seen += (seen.empty() ? "" : ", ") + address + " at " + (at < 0 ? "none" : std::to_string(at));
            if (at <= last) last = INT_MAX;
            else last = at;
        }
        if (last == INT_MAX) PrintFail(action.line, "rows in the order written", seen);
        return true;
    }
    case SSendCheckVerb::ExpectWarnings: {
        int shown = 0;
        for (int id : {IDC_SEND_CHECK_WARN_DOMAINS, IDC_SEND_CHECK_WARN_VISIBLE}) {
            HWND label = GetDlgItem(dialog, id);
            if (label && IsWindowVisible(label) && !WindowTextUtf8(label).empty()) ++shown;
        }
        if (shown != action.count)
            PrintFail(action.line, std::to_string(action.count) + " warnings", std::to_string(shown));
        return true;
    }
    case SSendCheckVerb::Tick:
    case SSendCheckVerb::Untick:
        Toggle(action, list, row, action.verb == SSendCheckVerb::Tick);
        return true;
    case SSendCheckVerb::TickAll: {
        const int count = ItemCount(list);
        for (int item = 0; item < count; ++item) {
            if (BoxOf(list, item) != kUnticked) continue;
            SSendCheckAction one = action;
            one.address = CellUtf8(list, item, kAddressColumn);
            Toggle(one, list, item, true);
        }
        return true;
    }
    case SSendCheckVerb::ExpectSendEnabled: {
        const bool got = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
        if (got != action.yes)
            PrintFail(action.line, std::string("Send ") + (action.yes ? "enabled" : "disabled"),
                      got ? "enabled" : "disabled");
        return true;
    }
    case SSendCheckVerb::Screenshot: {
        std::string error;
        if (!CreateFolders(shots_) ||
            !SaveWindowPicture(dialog, shots_ + "\\" + action.text + ".png", &error))
            PrintFail(action.line, "a picture " + action.text + ".png",
                      error.empty() ? "no folder " + shots_ : error);
        return true;
    }
    case SSendCheckVerb::Send: {
        HWND send = GetDlgItem(dialog, IDOK);
        if (send && IsWindowEnabled(send) && IsWindowVisible(send)) {
            ClickControl(send);
        } else {
            PrintFail(action.line, "an enabled Send button", "a disabled one");
            PressCancel(dialog);
        }
        return false;
    }
    case SSendCheckVerb::Cancel:
        PressCancel(dialog);
        return false;
    }
    return true;
}
