// Quillon32.dll's exported update check under Wine, against the test
// server (tests/update/server.py, started by with-server): every box and
// the progress window are answered from this thread, as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "quillon/quillon.h"
#include "quillon/transfer_win32.h"

namespace {

constexpr int kBoxTextId = 0xFFFF;
constexpr UINT kAnswerMessage = WM_APP + 1;
constexpr UINT_PTR kCancelTimer = 1;
constexpr wchar_t kAnswererClass[] = L"QuillonTestAnswerer";
constexpr wchar_t kInstallerPattern[] = L"HalyardSetup*.exe";
constexpr wchar_t kMarkerName[] = L"\\HalyardTestInstaller.txt";

using CheckFn = int(WINAPI*)(HWND, const char*, const char*, const char*);

CheckFn FindCheck(HMODULE module) {
    return reinterpret_cast<CheckFn>(reinterpret_cast<void*>(GetProcAddress(module, "QuillonCheckForUpdate")));
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string TextOf(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return Utf8(text);
}

std::string Env(const char* name) {
    char value[512] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

bool Japanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

// The expected texts, in the language of the run.
struct Texts {
    const char* caption;
    const char* latest;        // + installed version
    const char* notHttps;
    const char* unreachable;
    const char* notFetched;    // the server answered, but with no announcement
    const char* invalid;
    const char* unsignedText;
    const char* mismatch;
    const char* started;
};
const Texts kEnglish = {
    "Halyard Update",
    "Halyard 4.1.3.0 is the latest version.",
    "The update address must begin with https:// :\n",
    "Cannot reach the update server.\n",
    "The update information could not be fetched from the server.\n",
    "The update information from the server is not valid.",
    "The update information is not signed by the maker. Nothing was downloaded.",
    "The downloaded installer is not the one announced. It was deleted.",
    "The installer has been started. Close Becky! when it asks you to.",
};
const Texts kJapanese = {
    "Halyard アップデート",
    "Halyard 4.1.3.0 は最新のバージョンです。",
    "アップデートの確認先には https:// で始まるアドレスしか使えません。\n",
    "アップデートサーバーに接続できません。\n",
    "サーバーからアップデート情報を受け取れませんでした。\n",
    "サーバーから受け取ったアップデート情報が正しくありません。",
    "アップデート情報に作者の正しい署名がありません。何もダウンロードしていません。",
    "ダウンロードしたインストーラーがお知らせの内容と一致しないため、削除しました。",
    "インストーラーを起動しました。インストーラーに求められたら Becky! を終了してください。",
};
const Texts& Expected() { return Japanese() ? kJapanese : kEnglish; }

std::string Question(const char* notes) {
    if (Japanese()) {
        return std::string("Halyard 4.1.10.0 が公開されています。お使いのバージョンは 4.1.3.0 です。\n\n") + notes +
               "\n\nインストーラーをダウンロードして起動しますか？";
    }
    return std::string("Halyard 4.1.10.0 is available. You have 4.1.3.0.\n\n") + notes +
           "\n\nDownload and start its installer now?";
}

struct Shown {
    std::string caption;
    std::string text;     // empty for the progress window
    bool ownedByOwner;
};

// Answers every dialog of this thread: message boxes from the queue (No
// when it is empty, so an unexpected question never starts a download),
// the progress window by pressing Cancel after cancelAfterMs when set.
class Answerer {
public:
    explicit Answerer(HWND owner) : owner_(owner) {
        self_ = this;
        WNDCLASSW cls = {};
        cls.lpfnWndProc = Proc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = kAnswererClass;
        RegisterClassW(&cls);
        window_ = CreateWindowExW(0, kAnswererClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        hook_ = SetWindowsHookExW(WH_CBT, Cbt, nullptr, GetCurrentThreadId());
    }
    ~Answerer() {
        UnhookWindowsHookEx(hook_);
        DestroyWindow(window_);
        self_ = nullptr;
    }

    std::deque<int> answers;
    int cancelAfterMs = 0;
    std::vector<Shown> shown;

    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) {
            if (!s.text.empty()) texts.push_back(s.text);
        }
        return texts;
    }
    int ProgressWindows() const {
        int n = 0;
        for (const Shown& s : shown) n += s.text.empty() ? 1 : 0;
        return n;
    }

private:
    static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && self_) {
            HWND window = reinterpret_cast<HWND>(wParam);
            wchar_t cls[16] = {};
            GetClassNameW(window, cls, 16);
            if (lstrcmpW(cls, L"#32770") == 0 && !GetPropW(window, L"QuillonSeen")) {
                SetPropW(window, L"QuillonSeen", reinterpret_cast<HANDLE>(1));
                PostMessageW(self_->window_, kAnswerMessage, wParam, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kAnswerMessage && self_) {
            self_->Answer(reinterpret_cast<HWND>(wParam));
            return 0;
        }
        if (message == WM_TIMER && wParam == kCancelTimer && self_) {
            KillTimer(window, kCancelTimer);
            if (IsWindow(self_->progress_)) {
                PostMessageW(self_->progress_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Answer(HWND dialog) {
        if (!IsWindow(dialog)) return;
        Shown s{TextOf(dialog), "", GetWindow(dialog, GW_OWNER) == owner_};
        HWND text = GetDlgItem(dialog, kBoxTextId);
        if (!text) {
            shown.push_back(s);
            progress_ = dialog;
            if (cancelAfterMs > 0) SetTimer(window_, kCancelTimer, cancelAfterMs, nullptr);
            return;
        }
        s.text = TextOf(text);
        shown.push_back(s);
        int button = IDNO;
        if (!answers.empty()) {
            button = answers.front();
            answers.pop_front();
        }
        if (!GetDlgItem(dialog, button)) button = GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    static Answerer* self_;
    HWND owner_;
    HWND window_ = nullptr;
    HWND progress_ = nullptr;
    HHOOK hook_ = nullptr;
};
Answerer* Answerer::self_ = nullptr;

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

std::vector<std::wstring> InstallersInTemp() {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((TempFolder() + kInstallerPattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        found.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

std::wstring MarkerPath() {
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + kMarkerName;
}

bool WaitForFile(const std::wstring& path, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(100);
    }
    return false;
}

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override {
        server = Env("HALYARD_UPDATE_SERVER");
        witness = Env("HALYARD_UPDATE_WITNESS");
        ASSERT_FALSE(server.empty()) << "run under tests/update/with-server";
        library = LoadLibraryA(QUILLON_DLL_PATH);
        ASSERT_NE(library, nullptr);
        check = FindCheck(library);
        ASSERT_NE(check, nullptr);
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        RemoveLeftovers();
        answerer = std::make_unique<Answerer>(owner);
        logMark = FullServerLog().size();
    }
    void TearDown() override {
        answerer.reset();
        RemoveLeftovers();
        if (owner) DestroyWindow(owner);
        if (library) FreeLibrary(library);
    }
    static void RemoveLeftovers() {
        for (const std::wstring& name : InstallersInTemp()) DeleteFileW((TempFolder() + name).c_str());
        DeleteFileW(MarkerPath().c_str());
    }

    int Run(const std::string& address, CheckFn fn = nullptr) {
        return (fn ? fn : check)(owner, "Halyard", "4.1.3.0", address.c_str());
    }

    // The paths the server was asked for during this test, one a line (the
    // server serves the whole program, so earlier tests' requests are cut off).
    std::string ServerLog() { return FullServerLog().substr(logMark); }
    std::string FullServerLog() {
        std::string body;
        TransferTarget target;
        target.limit = 1 << 20;
        target.memory = &body;
        TransferCancel cancel;
        EXPECT_EQ(Transfer(server + "/log", target, cancel, nullptr).status, TransferStatus::Done);
        return body;
    }

    void ExpectOnlyBox(const std::string& text) {
        EXPECT_EQ(answerer->Boxes(), std::vector<std::string>{text});
        for (const Shown& s : answerer->shown) {
            EXPECT_EQ(s.caption, Expected().caption) << s.text;
            EXPECT_TRUE(s.ownedByOwner) << s.text;
        }
    }

    std::string server, witness;
    size_t logMark = 0;
    HMODULE library = nullptr;
    CheckFn check = nullptr;
    HWND owner = nullptr;
    std::unique_ptr<Answerer> answerer;
};

TEST_F(UpdateCheck, UpToDate) {
    EXPECT_EQ(Run(server + "/current/update.txt"), kQuillonUpToDate);
    ExpectOnlyBox(Expected().latest);
    // The short announcement shows no progress window; the owner was
    // disabled only while it came.
    EXPECT_EQ(answerer->ProgressWindows(), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(UpdateCheck, NewerDeclinedDownloadsNothing) {
    answerer->answers = {IDNO};
    EXPECT_EQ(Run(server + "/newer/update.txt"), kQuillonDeclined);
    ExpectOnlyBox(Question("Faster address lookup."));
    // CR LF lines, an allowed redirect and a UTF-8 note read the same way.
    answerer->shown.clear();
    answerer->answers = {IDNO, IDNO, IDNO, IDNO};
    EXPECT_EQ(Run(server + "/newer-crlf/update.txt"), kQuillonDeclined);
    EXPECT_EQ(Run(server + "/moved/update.txt"), kQuillonDeclined);
    EXPECT_EQ(Run(server + "/newer-ja/update.txt"), kQuillonDeclined);
    // Notes in both languages: each box shows those of its own.
    EXPECT_EQ(Run(server + "/newer-both/update.txt"), kQuillonDeclined);
    EXPECT_EQ(answerer->Boxes(),
              (std::vector<std::string>{Question("Faster address lookup."), Question("Faster address lookup."),
                                        Question("アドレス検索が速くなりました。"),
                                        Question(Japanese() ? "アドレス帳の検索が速くなりました。"
                                                            : "Faster address lookup.")}));
    EXPECT_EQ(ServerLog().find("/files/"), std::string::npos);
    EXPECT_TRUE(InstallersInTemp().empty());
}

TEST_F(UpdateCheck, NewerDownloadedVerifiedAndStarted) {
    answerer->answers = {IDYES, IDOK};
    EXPECT_EQ(Run(server + "/newer/update.txt"), kQuillonStarted);
    EXPECT_EQ(answerer->Boxes(), (std::vector<std::string>{Question("Faster address lookup."), Expected().started}));
    EXPECT_EQ(answerer->ProgressWindows(), 1);   // the installer's download
    for (const Shown& s : answerer->shown) {
        EXPECT_EQ(s.caption, Expected().caption);
        EXPECT_TRUE(s.ownedByOwner);
    }
    EXPECT_TRUE(WaitForFile(MarkerPath(), 15000)) << "the test installer did not run";
    // The started installer stays where it was verified.
    EXPECT_EQ(InstallersInTemp(), std::vector<std::wstring>{L"HalyardSetup.exe"});
}

TEST_F(UpdateCheck, AnExistingFileIsNeverOverwritten) {
    const std::wstring taken = TempFolder() + L"HalyardSetup.exe";
    HANDLE file = CreateFileW(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "mine", 4, &written, nullptr);
    CloseHandle(file);
    answerer->answers = {IDYES, IDOK};
    EXPECT_EQ(Run(server + "/newer/update.txt"), kQuillonStarted);
    EXPECT_TRUE(WaitForFile(MarkerPath(), 15000));
    const std::vector<std::wstring> present = InstallersInTemp();
    EXPECT_EQ(present.size(), 2u);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(taken.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 4u);
}

TEST_F(UpdateCheck, InstallerThatDiffersFromTheAnnouncementIsDeleted) {
    for (const char* path : {"/baddigest/update.txt", "/badsize/update.txt", "/shortsize/update.txt"}) {
        answerer->shown.clear();
        answerer->answers = {IDYES, IDOK};
        EXPECT_EQ(Run(server + path), kQuillonMismatch) << path;
        EXPECT_EQ(answerer->Boxes(), (std::vector<std::string>{Question("Faster address lookup."),
                                                               Expected().mismatch}))
            << path;
        EXPECT_TRUE(InstallersInTemp().empty()) << path;
    }
    Sleep(500);
    EXPECT_EQ(GetFileAttributesW(MarkerPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UpdateCheck, UnsignedAnnouncementsDownloadNothing) {
    for (const char* path : {"/badsig/update.txt", "/nosig/update.txt", "/unknownkey/update.txt"}) {
        answerer->shown.clear();
        EXPECT_EQ(Run(server + path), kQuillonUnsigned) << path;
        ExpectOnlyBox(Expected().unsignedText);
    }
    EXPECT_EQ(ServerLog().find("/files/"), std::string::npos);
}

TEST_F(UpdateCheck, ReleaseBuildDoesNotTrustTheTestKey) {
    HMODULE release = LoadLibraryExA(QUILLON_RELEASE_DLL_PATH, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(release, nullptr);
    // Both builds are named Quillon32.dll: the release one must be its own module.
    ASSERT_NE(release, library);
    CheckFn releaseCheck = FindCheck(release);
    ASSERT_NE(releaseCheck, nullptr);
    EXPECT_EQ(Run(server + "/newer/update.txt", releaseCheck), kQuillonUnsigned);
    ExpectOnlyBox(Expected().unsignedText);
    FreeLibrary(release);
}

TEST_F(UpdateCheck, MalformedAnnouncementIsRefused) {
    EXPECT_EQ(Run(server + "/malformed/update.txt"), kQuillonInvalid);
    ExpectOnlyBox(Expected().invalid);
}

TEST_F(UpdateCheck, ServerDownOrFailingIsReported) {
    // Port 1 on this machine: nothing listens, the connection is refused.
    EXPECT_EQ(Run("http://127.0.0.1:1/update.txt"), kQuillonUnreachable);
    ASSERT_EQ(answerer->Boxes().size(), 1u);
    const std::string down = answerer->Boxes()[0];
    EXPECT_EQ(down.rfind(Expected().unreachable, 0), 0u) << down;
    EXPECT_GT(down.size(), std::string(Expected().unreachable).size()) << "no reason given";

    answerer->shown.clear();
    EXPECT_EQ(Run(server + "/missing/update.txt"), kQuillonUnreachable);
    ExpectOnlyBox(std::string(Expected().notFetched) +
                  (Japanese() ? "サーバーが HTTP ステータス 404 を返しました。"
                              : "The server answered with HTTP status 404."));
    answerer->shown.clear();
    EXPECT_EQ(Run(server + "/loop/update.txt"), kQuillonUnreachable);
    ExpectOnlyBox(std::string(Expected().notFetched) +
                  (Japanese() ? "サーバーのリダイレクトが多すぎます。" : "The server redirected too many times."));
}

TEST_F(UpdateCheck, PlainHttpElsewhereIsRefusedWithoutAConnection) {
    const std::string refused[] = {witness + "/refused/update.txt", "http://tarnwick.example/halyard/update.txt",
                                   "ftp://tarnwick.example/update.txt", ""};
    for (const std::string& address : refused) {
        answerer->shown.clear();
        EXPECT_EQ(Run(address), kQuillonRefusedAddress) << address;
        ExpectOnlyBox(Expected().notHttps + address);
        EXPECT_EQ(answerer->ProgressWindows(), 0) << address;
    }
    EXPECT_EQ(ServerLog().find("witness"), std::string::npos);
}

TEST_F(UpdateCheck, RedirectToPlainHttpIsRefused) {
    EXPECT_EQ(Run(server + "/to-http/update.txt"), kQuillonRefusedAddress);
    ExpectOnlyBox(Expected().notHttps + witness + "/witness/update.txt");
    // An installer address in plain http is refused before the question.
    answerer->shown.clear();
    EXPECT_EQ(Run(server + "/http-installer/update.txt"), kQuillonRefusedAddress);
    ExpectOnlyBox(Expected().notHttps + witness + "/files/HalyardSetup.exe");
    EXPECT_EQ(ServerLog().find("witness"), std::string::npos);
}

TEST_F(UpdateCheck, CancelledDownloadLeavesNothing) {
    answerer->answers = {IDYES};
    answerer->cancelAfterMs = 1500;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(server + "/slow-newer/update.txt"), kQuillonCancelled);
    const auto took = std::chrono::steady_clock::now() - start;
    // The slow installer takes far longer than this to arrive in full.
    EXPECT_LT(took, std::chrono::seconds(6));
    EXPECT_EQ(answerer->Boxes(), std::vector<std::string>{Question("Faster address lookup.")});
    EXPECT_TRUE(InstallersInTemp().empty());
    Sleep(500);
    EXPECT_EQ(GetFileAttributesW(MarkerPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
