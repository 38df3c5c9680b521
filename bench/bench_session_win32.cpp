#include "bench/bench_session_win32.h"

#include <windows.h>

#include "codepage.h"
#include "file_ops.h"
#include "host_menus.h"
#include "host_registry.h"
#include "host_state.h"
#include "host_windows.h"
#include "message_boxes.h"

namespace {

constexpr char kMailBox[] = "1234abcd.mb\\";
constexpr char kMailFolder[] = "1234abcd.mb\\!Inbox\\";
constexpr char kOwnAddress[] = "me@example.org";
constexpr int kReplyToAll = 6;
constexpr int kComposeMenu = 10;
constexpr int kOutbox = 0;
constexpr char kSettings[] = "[Settings]\r\nReplaceMessageView=1\r\nSingleWarning=0\r\n";
constexpr char kSendCheckOn[] = "[SendCheck]\r\nEnabled=1\r\n";
// Lists every recipient with organisation, department and name: one
// FindCard per recipient.
constexpr char kTemplateBody[] =
    "$t72To: ($o $4i $n, r)\r\n$c72Cc: ($o $4i $n, r)\r\n\r\nThank you for your message.\r\n";

std::string Join(const std::vector<std::string>& list, size_t from, size_t to) {
    std::string joined;
    for (size_t i = from; i < to && i < list.size(); ++i) {
        if (!joined.empty()) joined += ", ";
        joined += list[i];
    }
    return joined;
}

}  // namespace

SBenchSession::SBenchSession(const std::string& scratch)
    : scratch_(scratch), data_(scratch + "\\data"), plugins_(scratch + "\\plugins"),
      appdata_(scratch + "\\appdata"), common_(scratch + "\\common"), temp_(scratch + "\\temp") {}

SBenchSession::~SBenchSession() {
    library_.Unload();
    if (windows_) {
        RemoveBoxHook();
        DestroyHostWindows(&TheHost());
    }
    if (redirected_) RestoreShellFolders();
}

bool SBenchSession::SetUp(const std::string& groupLink, std::string* why) {
    for (const std::string* folder : {&data_, &plugins_, &appdata_, &common_, &temp_}) {
        if (!CreateFolders(*folder)) {
            *why = "cannot create " + *folder;
            return false;
        }
    }
    SHostState& host = TheHost();
    host.dataFolder = data_ + "\\";
    host.tempFolder = temp_ + "\\";
    host.compose.codePage = AnsiCodePage();
    host.mailbox = kMailBox;
    host.folder = kMailFolder;
    const std::string settings = SettingsPath();
    if (!WriteFileBytes(data_ + "\\" + kMailBox + "MailBox.ini",
                        std::string("[Account]\r\nMailAddress=") + kOwnAddress + "\r\n") ||
        !WriteFileBytes(data_ + "\\" + kMailFolder + "Folder.ini",
                        "[Settings]\r\nAddrGrp=" + groupLink + "\r\n") ||
        !WriteFileBytes(settings, kSettings)) {
        *why = "cannot write the host's files";
        return false;
    }
    if (!ClearHostKey() || !RedirectShellFolders(Utf8ToWide(appdata_), Utf8ToWide(common_))) {
        *why = "cannot set up the registry";
        return false;
    }
    redirected_ = true;
    SetDllDirectoryW(Utf8ToWide(plugins_).c_str());
    if (!CreateHostWindows(&host, "From:") || !InstallBoxHook()) {
        *why = "cannot create the host's windows";
        return false;
    }
    windows_ = true;
    return true;
}

bool SBenchSession::Load(const std::string& dllPath, std::string* why) {
    const std::string target = plugins_ + "\\Halyard.dll";
    if (!CopyFileA(dllPath.c_str(), target.c_str(), FALSE)) {
        *why = "cannot copy " + dllPath;
        return false;
    }
    if (!library_.Load(target) || !library_.Exports().OnStart || !library_.Exports().OnOpenCompose ||
        !library_.Exports().OnOpenMail) {
        *why = "the library did not load";
        return false;
    }
    return true;
}

int SBenchSession::Start() { return library_.Exports().OnStart(); }

void SBenchSession::MenuInit() {
    if (!library_.Exports().OnMenuInit) return;
    SHostMenu menu(kComposeMenu);
    library_.Exports().OnMenuInit(TheHost().compose.window, menu.Handle(), kComposeMenu);
}

int SBenchSession::ReplyToAll(const std::vector<std::string>& recipients, bool withTemplate) {
    SHostState& host = TheHost();
    const size_t half = recipients.size() / 2;
    host.mail.Clear();
    host.mail.Set("From", recipients.empty() ? "" : recipients[0]);
    host.mail.Set("To", std::string(kOwnAddress) + ", " + Join(recipients, 1, half));
    host.mail.Set("Cc", Join(recipients, half, recipients.size()));
    host.mail.Set("Subject", "Plans");
    host.compose.headers.Clear();
    host.compose.headers.Set("From", kOwnAddress);
    host.compose.headers.Set("To", recipients.empty() ? "" : recipients[0]);
    host.compose.headers.Set("Cc", Join(recipients, 1, recipients.size()));
    host.compose.headers.Set("Subject", "Re: Plans");
    host.compose.hasBody = true;
    host.compose.mimeType = "text/plain";
    host.compose.text = withTemplate ? kTemplateBody : "Thank you for your message.\r\n";
    return library_.Exports().OnOpenCompose(host.compose.window, kReplyToAll);
}

int SBenchSession::SendFromCompose() {
    if (!library_.Exports().OnOutgoing) return 0;
    return library_.Exports().OnOutgoing(TheHost().compose.window, kOutbox);
}

bool SBenchSession::EnableSendCheck() {
    return WriteFileBytes(SettingsPath(), std::string(kSettings) + kSendCheckOn);
}

std::string SBenchSession::SettingsPath() const {
    return appdata_ + "\\Tarnwick\\Halyard\\Halyard.ini";
}

std::string SBenchSession::OpenMail(const std::string& address) {
    SHostState& host = TheHost();
    host.mail.Set("From", address);
    SetWindowTextA(host.senderWindow, address.c_str());
    const std::string mailId = host.folder + "?00000001";
    library_.Exports().OnOpenMail(mailId.c_str());
    char shown[1024] = {};
    GetWindowTextA(host.senderWindow, shown, sizeof shown);
    return shown;
}

void SBenchSession::Exit() {
    if (library_.Loaded() && library_.Exports().OnExit) library_.Exports().OnExit();
    library_.Unload();
}
