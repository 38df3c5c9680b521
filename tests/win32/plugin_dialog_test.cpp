// The settings dialog as the user meets it: created from the built
// library's resources over a settings object read from a test file, its
// controls clicked, the windows it opens answered by a thread timer.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/platform.h"
#include "common/version.h"
#include "plugin/plugin_state.h"
#include "resources/dialog_ids.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"
#include "support/test_support.h"
#include "win32/common_win32_support.h"

namespace {

constexpr UINT kTick = 20;                 // ms between looks for a window to answer
constexpr int kGiveUpTicks = 150;          // an expected window that never comes

std::string WindowText(HWND window) {
    char text[1024] = {};
    int n = GetWindowTextA(window, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// Answers the next window with the given title that opens on this thread
// while a modal loop runs; windows nobody expected are cancelled and
// recorded, so a wrong dialog never hangs the test.
class Answerer {
public:
    using Action = std::function<void(HWND)>;

    static Answerer& Get() {
        static Answerer answerer;
        return answerer;
    }
    void Expect(std::string title, Action action) {
        title_ = std::move(title);
        action_ = std::move(action);
        answered_ = false;
        ticks_ = 0;
        Start();
    }
    void Watch(HWND known) {
        known_ = known;
        Start();
    }
    void Stop() {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
        action_ = nullptr;
        known_ = nullptr;
    }
    bool Answered() const { return answered_; }
    std::vector<std::string> TakeUnexpected() {
        std::vector<std::string> out;
        out.swap(unexpected_);
        return out;
    }

private:
    void Start() {
        if (!timer_) timer_ = SetTimer(nullptr, 0, kTick, &Answerer::Tick);
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM) {
        Answerer& a = Get();
        if (window == a.known_ || !IsWindowVisible(window)) return TRUE;
        a.found_ = window;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Answerer& a = Get();
        a.found_ = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &Answerer::Visit, 0);
        if (!a.found_) {
            if (a.action_ && ++a.ticks_ > kGiveUpTicks) a.action_ = nullptr;
            return;
        }
        HWND window = a.found_;
        const std::string title = WindowText(window);
        if (a.action_ && title == a.title_) {
            Action action = std::move(a.action_);
            a.action_ = nullptr;
            a.answered_ = true;
            action(window);
        } else {
            a.unexpected_.push_back(title);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    }

    std::string title_;
    Action action_;
    bool answered_ = false;
    int ticks_ = 0;
    HWND known_ = nullptr;
    HWND found_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<std::string> unexpected_;
};

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources.Loaded());
        path = dir.Join("Halyard.ini");
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
        Answerer::Get().Stop();
        EXPECT_TRUE(Answerer::Get().TakeUnexpected().empty());
    }

    // Reads the settings from ini and opens the dialog over them.
    void Open(const std::string& ini) {
        test::WriteBytes(path, ini);
        settings.reset(new SSettings(Plugin().instance, path.c_str()));
        dialog = CreateDialogParamA(static_cast<HINSTANCE>(Plugin().instance),
                                    MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << GetLastError();
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
        Answerer::Get().Watch(dialog);
    }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool ReadOnly(int id) const { return (GetWindowLongA(Item(id), GWL_STYLE) & ES_READONLY) != 0; }
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    int Count(int list) const { return static_cast<int>(SendMessageA(Item(list), LB_GETCOUNT, 0, 0)); }
    std::string Entry(int list, int index) const {
        char text[1024] = {};
        LRESULT n = SendMessageA(Item(list), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
        return n > 0 ? std::string(text, n) : std::string();
    }
    void Select(int list, int index) { SendMessageA(Item(list), LB_SETCURSEL, index, 0); }

    // Clicks id and answers the Edit Token dialog it opens: the field's
    // text is recorded, replaced by text, then OK (or Cancel).
    std::string EditToken(int id, const std::string& text, bool ok = true) {
        std::string shown;
        Answerer::Get().Expect(platform::LoadResString(33), [&](HWND token) {
            shown = ItemText(token, IDC_TOKEN_TEXT);
            SetDlgItemTextA(token, IDC_TOKEN_TEXT, text.c_str());
            SendMessageA(token, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
        });
        Click(id);
        EXPECT_TRUE(Answerer::Get().Answered()) << "no Edit Token after " << id;
        return shown;
    }
    // Clicks id and answers the message box it opens; returns its text.
    std::string AnswerBox(int id, const std::string& caption, int button) {
        std::string text;
        Answerer::Get().Expect(caption, [&](HWND box) {
            text = ItemText(box, 0xFFFF);
            SendMessageA(box, WM_COMMAND, button, 0);
        });
        Click(id);
        EXPECT_TRUE(Answerer::Get().Answered()) << "no message box after " << id;
        return text;
    }
    std::string Value(const char* section, const char* key) const {
        char buffer[1024];
        DWORD n = GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, path.c_str());
        return std::string(buffer, n);
    }

    test::PluginResources resources;
    test::TempDir dir;
    std::string path;
    std::unique_ptr<SSettings> settings;
    HWND dialog = nullptr;
};

const char kIni[] =
    "[Settings]\r\nUseAddrBook=1\r\nReplyFormat=3\r\nArrange=0\r\nExcludeReplyTo=1\r\n"
    "SelfExclude=0\r\nSerializeRcpts=1\r\nReportSwitch=0\r\nReportFile=C:\\saved\\noentry.txt\r\n"
    "AddPluginHeader=0\r\nCtrlNoEffect=1\r\nReplaceMessageView=0\r\nReplaceViewFormat=2\r\n"
    "ExtendTemplate=1\r\nIgnoreCase=1\r\nSingleWarning=0\r\nEmptySubject=1\r\n"
    "[Attachment]\r\nInspect=1\r\nAttachWords=enclosed,see file\r\nExcludeTo=list@example.com\r\n"
    "[GroupDomain]\r\nFormat=2\r\n";

TEST_F(SettingsDialog, OpensWithTheSettingsShown) {
    SVersion version(HALYARD_DLL_PATH);
    Plugin().version = &version;
    Open(kIni);
    Plugin().version = nullptr;

    const std::string title = WindowText(dialog);
    EXPECT_EQ(title.rfind("Halyard", 0), 0u) << title;
    EXPECT_NE(title.find(std::string("[ ") + version.Text(VersionText::ProductVersion) + " ]"),
              std::string::npos)
        << title;
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(settings->dialogIcon, nullptr);

    // The dialog of the system's language.
    const bool japanese = GetACP() == 932;
    EXPECT_EQ(ItemText(dialog, IDC_USE_ADDR_BOOK),
              japanese ? platform::Utf8ToAnsi("宛先をアドレス帳から引用する")
                       : std::string("change address from address book"));
    EXPECT_EQ(ItemText(dialog, IDCANCEL), japanese ? platform::Utf8ToAnsi("ｷｬﾝｾﾙ") : "Cancel");

    EXPECT_TRUE(IsChecked(IDC_USE_ADDR_BOOK));
    EXPECT_TRUE(IsChecked(IDC_SERIALIZE));
    EXPECT_TRUE(IsChecked(IDC_EXCLUDE_REPLY_TO));
    EXPECT_FALSE(IsChecked(IDC_SELF_EXCLUDE));
    EXPECT_FALSE(IsChecked(IDC_REPORT_SWITCH));
    EXPECT_FALSE(IsChecked(IDC_PLUGIN_HEADER));
    EXPECT_TRUE(IsChecked(IDC_CTRL_NO_EFFECT));
    EXPECT_FALSE(IsChecked(IDC_REPLACE_VIEW));
    EXPECT_TRUE(IsChecked(IDC_EXTEND_TEMPLATE));
    EXPECT_TRUE(IsChecked(IDC_IGNORE_CASE));
    EXPECT_FALSE(IsChecked(IDC_SINGLE_WARNING));
    EXPECT_TRUE(IsChecked(IDC_EMPTY_SUBJECT));
    EXPECT_TRUE(IsChecked(IDC_INSPECT));

    // Reply format 3, enabled with the address book.
    EXPECT_FALSE(IsChecked(IDC_REPLY_BOOK));
    EXPECT_FALSE(IsChecked(IDC_REPLY_NAME_ADDR));
    EXPECT_TRUE(IsChecked(IDC_REPLY_ADDR_NAME));
    EXPECT_TRUE(Enabled(IDC_REPLY_BOOK));
    EXPECT_TRUE(Enabled(IDC_DOMAIN_LIST));
    EXPECT_TRUE(Enabled(IDC_DOMAIN_ADD));

    // Arrange 0: default, and its two options off.
    EXPECT_TRUE(IsChecked(IDC_ARRANGE_DEFAULT));
    EXPECT_FALSE(IsChecked(IDC_ARRANGE_KEEP_TO));
    EXPECT_FALSE(Enabled(IDC_EXCLUDE_REPLY_TO));
    EXPECT_FALSE(Enabled(IDC_SELF_EXCLUDE));

    // Report off: the path is shown but cannot be changed.
    EXPECT_EQ(ItemText(dialog, IDC_REPORT_FILE), "C:\\saved\\noentry.txt");
    EXPECT_TRUE(ReadOnly(IDC_REPORT_FILE));
    EXPECT_FALSE(Enabled(IDC_REPORT_BROWSE));

    // View replacement off: its form is kept but disabled.
    EXPECT_TRUE(IsChecked(IDC_VIEW_NAME_ADDR));
    EXPECT_FALSE(Enabled(IDC_VIEW_NAME));
    EXPECT_FALSE(Enabled(IDC_VIEW_ADDR_NAME));

    // Lists in order; no group domains, so their format is disabled.
    ASSERT_EQ(Count(IDC_WORD_LIST), 2);
    EXPECT_EQ(Entry(IDC_WORD_LIST, 0), "enclosed");
    EXPECT_EQ(Entry(IDC_WORD_LIST, 1), "see file");
    EXPECT_TRUE(Enabled(IDC_WORD_LIST));
    EXPECT_TRUE(Enabled(IDC_WORD_DELETE));
    EXPECT_EQ(Count(IDC_DOMAIN_LIST), 0);
    EXPECT_TRUE(IsChecked(IDC_GROUP_NAME_ADDR));
    EXPECT_FALSE(Enabled(IDC_GROUP_BOOK));
    EXPECT_FALSE(Enabled(IDC_GROUP_NAME_ADDR));

    DestroyWindow(dialog);
    dialog = nullptr;
    EXPECT_EQ(settings->dialogIcon, nullptr);
}

TEST_F(SettingsDialog, SwitchesEnableTheirControls) {
    Open(kIni);
    Click(IDC_ARRANGE_KEEP_TO);
    EXPECT_TRUE(IsChecked(IDC_ARRANGE_KEEP_TO));
    EXPECT_FALSE(IsChecked(IDC_ARRANGE_DEFAULT));
    EXPECT_TRUE(Enabled(IDC_EXCLUDE_REPLY_TO));
    EXPECT_TRUE(Enabled(IDC_SELF_EXCLUDE));
    Click(IDC_ARRANGE_DEFAULT);
    EXPECT_FALSE(Enabled(IDC_EXCLUDE_REPLY_TO));
    EXPECT_FALSE(Enabled(IDC_SELF_EXCLUDE));

    Click(IDC_REPORT_SWITCH);
    EXPECT_FALSE(ReadOnly(IDC_REPORT_FILE));
    EXPECT_TRUE(Enabled(IDC_REPORT_BROWSE));
    Click(IDC_REPORT_SWITCH);
    EXPECT_TRUE(ReadOnly(IDC_REPORT_FILE));
    EXPECT_FALSE(Enabled(IDC_REPORT_BROWSE));

    Click(IDC_REPLACE_VIEW);
    EXPECT_TRUE(Enabled(IDC_VIEW_NAME));
    EXPECT_TRUE(Enabled(IDC_VIEW_ADDRESS));
    EXPECT_TRUE(Enabled(IDC_VIEW_NAME_ADDR));
    EXPECT_TRUE(Enabled(IDC_VIEW_ADDR_NAME));

    // With a group domain, unchecking the address book switch turns off
    // the list, its buttons and both format groups at once.
    EditToken(IDC_DOMAIN_ADD, "example.com");
    EXPECT_TRUE(Enabled(IDC_GROUP_BOOK));
    Click(IDC_USE_ADDR_BOOK);
    for (int id : {IDC_REPLY_BOOK, IDC_REPLY_ADDRESS, IDC_REPLY_NAME_ADDR, IDC_REPLY_ADDR_NAME,
                   IDC_DOMAIN_LIST, IDC_DOMAIN_ADD, IDC_DOMAIN_EDIT, IDC_DOMAIN_DELETE,
                   IDC_GROUP_BOOK, IDC_GROUP_ADDRESS, IDC_GROUP_NAME_ADDR, IDC_GROUP_ADDR_NAME}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    Click(IDC_USE_ADDR_BOOK);
    EXPECT_TRUE(Enabled(IDC_GROUP_ADDR_NAME));

    Click(IDC_INSPECT);
    EXPECT_FALSE(Enabled(IDC_WORD_LIST));
    EXPECT_FALSE(Enabled(IDC_WORD_ADD));
    EXPECT_FALSE(Enabled(IDC_WORD_EDIT));

    // The resources are loaded as data, so no module lies beside them:
    // the button says the update checker is missing and the dialog stays.
    const std::string text = AnswerBox(IDC_CHECK_VERSION, platform::LoadResString(38), IDOK);
    EXPECT_EQ(text, platform::LoadResString(29));
    EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(SettingsDialog, ListsAreEditedAndSavedWithOk) {
    Open(kIni);
    // Add: empty text and Cancel add nothing.
    EXPECT_EQ(EditToken(IDC_DOMAIN_ADD, "example.com"), "");
    EditToken(IDC_DOMAIN_ADD, "");
    EditToken(IDC_DOMAIN_ADD, "cancelled.example", false);
    EditToken(IDC_DOMAIN_ADD, "b.example");
    ASSERT_EQ(Count(IDC_DOMAIN_LIST), 2);
    EXPECT_EQ(settings->domainsWork.Join(), "example.com,b.example");

    // Edit: no selection opens nothing; the field starts with the item;
    // an empty field leaves it as it was.
    Select(IDC_DOMAIN_LIST, -1);
    Click(IDC_DOMAIN_EDIT);
    Select(IDC_DOMAIN_LIST, 0);
    EXPECT_EQ(EditToken(IDC_DOMAIN_EDIT, "a.example"), "example.com");
    EditToken(IDC_DOMAIN_EDIT, "");
    EXPECT_EQ(Entry(IDC_DOMAIN_LIST, 0), "a.example");
    EXPECT_EQ(Entry(IDC_DOMAIN_LIST, 1), "b.example");
    EXPECT_EQ(settings->domainsWork.Join(), "a.example,b.example");

    // Delete asks first; No keeps the item.
    const std::string caption = platform::LoadResString(32);
    Select(IDC_WORD_LIST, 1);
    const std::string question = AnswerBox(IDC_WORD_DELETE, caption, IDNO);
    EXPECT_NE(question.find("see file"), std::string::npos) << question;
    EXPECT_EQ(Count(IDC_WORD_LIST), 2);
    Select(IDC_WORD_LIST, 1);
    AnswerBox(IDC_WORD_DELETE, caption, IDYES);
    EXPECT_EQ(settings->attachWordsWork.Join(), "enclosed");
    Select(IDC_WORD_LIST, 0);
    AnswerBox(IDC_WORD_DELETE, caption, IDYES);
    EXPECT_EQ(Count(IDC_WORD_LIST), 0);
    EXPECT_FALSE(Enabled(IDC_WORD_LIST));
    EXPECT_FALSE(Enabled(IDC_WORD_EDIT));
    EXPECT_FALSE(Enabled(IDC_WORD_DELETE));
    // Add stays, so the emptied list can be filled again.
    EXPECT_TRUE(Enabled(IDC_WORD_ADD));
    EditToken(IDC_WORD_ADD, "attached, doc");
    EXPECT_TRUE(Enabled(IDC_WORD_DELETE));

    // Nothing reached the object or the file before OK.
    EXPECT_EQ(settings->domains.Join(), "");
    EXPECT_EQ(Value("GroupDomain", "Domains"), "<none>");

    Click(IDC_ARRANGE_KEEP_TO);
    Click(IDC_GROUP_BOOK);
    Click(IDC_REPLY_NAME_ADDR);
    Click(IDC_REPORT_SWITCH);
    SetDlgItemTextA(dialog, IDC_REPORT_FILE, "D:\\typed.txt");
    Click(IDC_SINGLE_WARNING);
    Click(IDOK);

    EXPECT_EQ(settings->domains.Join(), "a.example,b.example");
    EXPECT_EQ(settings->attachWords.Join(), "attached, doc");
    EXPECT_EQ(settings->arrange, 1);
    EXPECT_EQ(settings->groupFormat, 0);
    EXPECT_EQ(settings->replyFormat, 2);
    EXPECT_TRUE(settings->reportSwitch);
    EXPECT_STREQ(settings->reportFile, "D:\\typed.txt");
    EXPECT_TRUE(settings->singleWarning);

    EXPECT_EQ(Value("GroupDomain", "Domains"), "a.example,b.example");
    EXPECT_EQ(Value("GroupDomain", "Format"), "0");
    EXPECT_EQ(Value("Attachment", "AttachWords"), "attached, doc");
    EXPECT_EQ(Value("Attachment", "Inspect"), "1");
    EXPECT_EQ(Value("Attachment", "ExcludeTo"), "list@example.com");
    EXPECT_EQ(Value("Settings", "Arrange"), "1");
    EXPECT_EQ(Value("Settings", "ReplyFormat"), "2");
    EXPECT_EQ(Value("Settings", "ReportSwitch"), "1");
    EXPECT_EQ(Value("Settings", "ReportFile"), "D:\\typed.txt");
    EXPECT_EQ(Value("Settings", "SingleWarning"), "1");
    EXPECT_EQ(Value("Settings", "SelfExclude"), "0");
    EXPECT_EQ(Value("Settings", "AddPluginHeader"), "0");
    EXPECT_EQ(Value("Settings", "ReplaceViewFormat"), "2");
    EXPECT_EQ(Value("Settings", "IgnoreCase"), "1");
}

BOOL CALLBACK CollectText(HWND child, LPARAM into) {
    *reinterpret_cast<std::string*>(into) += WindowText(child) + "\n";
    return TRUE;
}

TEST_F(SettingsDialog, FileChooserStartsFromTheSavedPath) {
    const std::string saved = dir.Join("saved-report.txt");
    test::WriteBytes(saved, "");
    std::string ini = kIni;
    ini.replace(ini.find("C:\\saved\\noentry.txt"), std::strlen("C:\\saved\\noentry.txt"), saved);
    Open(ini);
    Click(IDC_REPORT_SWITCH);
    SetDlgItemTextA(dialog, IDC_REPORT_FILE, "D:\\typed-elsewhere.txt");

    std::string texts;
    Answerer::Get().Expect(platform::LoadResString(7), [&](HWND chooser) {
        EnumChildWindows(chooser, &CollectText, reinterpret_cast<LPARAM>(&texts));
        PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    });
    Click(IDC_REPORT_BROWSE);
    EXPECT_TRUE(Answerer::Get().Answered());
    EXPECT_NE(texts.find("saved-report.txt"), std::string::npos) << texts;
    EXPECT_EQ(texts.find("typed-elsewhere"), std::string::npos) << texts;
    // Cancelled: the field keeps what was typed.
    EXPECT_EQ(ItemText(dialog, IDC_REPORT_FILE), "D:\\typed-elsewhere.txt");
}

TEST_F(SettingsDialog, ModalRunAnswersTheButtonAndCancelSavesNothing) {
    test::WriteBytes(path, kIni);
    settings.reset(new SSettings(Plugin().instance, path.c_str()));
    const std::string before = test::ReadBytes(path);

    HWND seen = nullptr;
    auto script = [&](int button) {
        return [&, button](HWND d) {
            seen = d;
            // A disabled button takes no click: the radio goes first.
            SendMessageA(GetDlgItem(d, IDC_REPLY_BOOK), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(d, IDC_USE_ADDR_BOOK), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(d, button), BM_CLICK, 0, 0);
        };
    };
    // Without a version record the title holds an empty version.
    auto expectDialog = [&](int button) {
        std::string full = platform::LoadResString(8);
        full = full.substr(0, full.find("%s")) + full.substr(full.find("%s") + 2);
        Answerer::Get().Expect(full, script(button));
    };
    // Cancel after changes: neither the object nor the file change.
    expectDialog(IDCANCEL);
    EXPECT_EQ(RunSettingsDialog(nullptr), IDCANCEL);
    EXPECT_NE(seen, nullptr);
    EXPECT_TRUE(settings->useAddrBook);
    EXPECT_EQ(settings->replyFormat, 3);
    EXPECT_EQ(test::ReadBytes(path), before);

    expectDialog(IDOK);
    EXPECT_EQ(RunSettingsDialog(nullptr), IDOK);
    EXPECT_FALSE(settings->useAddrBook);
    EXPECT_EQ(settings->replyFormat, 0);
    EXPECT_EQ(Value("Settings", "UseAddrBook"), "0");
    EXPECT_EQ(Value("Settings", "ReplyFormat"), "0");

    // Without a settings object there is no dialog.
    settings.reset();
    EXPECT_EQ(RunSettingsDialog(nullptr), 0);
}

}  // namespace
