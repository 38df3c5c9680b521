// The send check's dialog under the keyboard, as a user works it: keys are
// posted to the dialog's own message loop, so they pass the dialog manager
// (Enter, Esc, Tab) before the list view (Space).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "outgoing/send_check.h"
#include "outgoing/send_check_dialog.h"
#include "resources/dialog_ids.h"
#include "win32/common_win32_support.h"

namespace {

constexpr UINT kStepMs = 30;
constexpr int kMostSteps = 200;   // a dialog that never closes fails, not hangs

// One step a timer tick, from inside the dialog's modal loop; a step that
// answers false is tried again on the next tick.
using Step = std::function<bool(HWND dialog)>;
std::vector<Step> g_steps;
size_t g_next = 0;
int g_ticks = 0;
bool g_timedOut = false;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    if (GetDlgItem(window, IDC_SEND_CHECK_LIST)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    if (++g_ticks > kMostSteps) {
        g_timedOut = true;
        EndDialog(dialog, IDCANCEL);
        return;
    }
    if (g_next < g_steps.size() && g_steps[g_next](dialog)) ++g_next;
}

int RunDialog(const SendCheckList& list, std::vector<Step> steps) {
    g_steps = std::move(steps);
    g_next = 0;
    g_ticks = 0;
    g_timedOut = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, kStepMs, Tick);
    const int answer = ShowSendCheckDialog(nullptr, list);
    KillTimer(nullptr, timer);
    // The dialog closed by the last step, not by running out of time.
    EXPECT_FALSE(g_timedOut);
    EXPECT_EQ(g_next, g_steps.size());
    return answer;
}

void Key(HWND dialog, WPARAM key) {
    HWND focus = GetFocus();
    HWND target = focus && IsChild(dialog, focus) ? focus : dialog;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

Step Press(WPARAM key) {
    return [key](HWND dialog) {
        Key(dialog, key);
        return true;
    };
}
Step Expect(std::function<void(HWND)> check) {
    return [check](HWND dialog) {
        check(dialog);
        return true;
    };
}

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_SEND_CHECK_LIST); }
UINT Box(HWND dialog, int item) {
    return (static_cast<UINT>(SendMessageW(List(dialog), LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK)) &
            LVIS_STATEIMAGEMASK) >> 12;
}
bool SendEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }

// Trusted: me2@example.org; outside: a@one.example and b@one.example.
SendCheckList Sample() {
    SendCheckRules rules;
    rules.trustedDomains = {"example.org"};
    return BuildSendCheckList({{RecipientField::kTo, "a@one.example"},
                               {RecipientField::kCc, "me2@example.org"},
                               {RecipientField::kCc, "b@one.example"}},
                              rules, std::nullopt, nullptr);
}
// Rows: 0 trusted title, 1 me2, 2 one.example title, 3 a, 4 b.
constexpr int kTrustedRow = 1;
constexpr int kFirstOutside = 3;

class SendCheckDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(resources.Loaded()); }
    test::PluginResources resources;
};

}  // namespace

TEST_F(SendCheckDialog, SpaceTicksTheFocusedRowAndEnterSendsOnlyWhenAllAreTicked) {
    bool stillOpenAfterEnter = false;
    const int answer = RunDialog(Sample(), {
        Expect([](HWND d) {
            EXPECT_EQ(Box(d, kTrustedRow), 0u);
            EXPECT_EQ(Box(d, kFirstOutside), 1u);
            EXPECT_FALSE(SendEnabled(d));
            EXPECT_EQ(GetFocus(), List(d));
        }),
        Press(VK_RETURN),
        [&](HWND d) { stillOpenAfterEnter = IsWindow(d) != FALSE; return true; },
        Press(VK_SPACE),   // the first outside row has the focus
        Expect([](HWND d) {
            EXPECT_EQ(Box(d, kFirstOutside), 2u);
            EXPECT_FALSE(SendEnabled(d));
        }),
        Press(VK_DOWN),
        Press(VK_SPACE),
        Expect([](HWND d) { EXPECT_TRUE(SendEnabled(d)); }),
        Press(VK_RETURN),
    });
    EXPECT_TRUE(stillOpenAfterEnter);
    EXPECT_EQ(answer, 0);
}

TEST_F(SendCheckDialog, ARowWithoutBoxGetsNone) {
    const int answer = RunDialog(Sample(), {
        Press(VK_UP), Press(VK_UP),   // onto the trusted row
        Press(VK_SPACE),
        Expect([](HWND d) {
            EXPECT_EQ(Box(d, kTrustedRow), 0u);
            EXPECT_FALSE(SendEnabled(d));
        }),
        Press(VK_ESCAPE),
    });
    EXPECT_EQ(answer, -1);
}

TEST_F(SendCheckDialog, EscCloseAndCancelAnswerMinusOne) {
    EXPECT_EQ(RunDialog(Sample(), {Press(VK_ESCAPE)}), -1);
    EXPECT_EQ(RunDialog(Sample(), {[](HWND d) {
                  PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
                  return true;
              }}),
              -1);
    // Everything ticked, then Cancel: still -1.
    EXPECT_EQ(RunDialog(Sample(), {Press(VK_SPACE), Press(VK_DOWN), Press(VK_SPACE),
                                   [](HWND d) {
                                       EXPECT_TRUE(SendEnabled(d));
                                       PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                                       return true;
                                   }}),
              -1);
}

TEST_F(SendCheckDialog, TabMovesFromTheListToTheButtons) {
    const int answer = RunDialog(Sample(), {
        Press(VK_SPACE), Press(VK_DOWN), Press(VK_SPACE),
        Press(VK_TAB),
        Expect([](HWND d) { EXPECT_EQ(GetFocus(), GetDlgItem(d, IDOK)); }),
        Press(VK_TAB),
        Expect([](HWND d) { EXPECT_EQ(GetFocus(), GetDlgItem(d, IDCANCEL)); }),
        Press(VK_RETURN),   // Enter on the focused Cancel button
    });
    EXPECT_EQ(answer, -1);
}
