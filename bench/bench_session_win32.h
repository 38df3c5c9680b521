// One benchmark run of the plug-in inside the headless host: the host's
// folders and windows set up as bkhost does, the library loaded from a
// fresh plug-in folder, and the calls a user's day makes.
#pragma once

#include <string>
#include <vector>

#include "plugin_library.h"

class SBenchSession {
public:
    // scratch: a folder holding "data" (with the generated "AddrBook").
    explicit SBenchSession(const std::string& scratch);
    ~SBenchSession();
    SBenchSession(const SBenchSession&) = delete;
    SBenchSession& operator=(const SBenchSession&) = delete;

    // Host folders, windows, settings and the mail folder's group link
    // (to groupFolder, "Book:Folder"). False with *why on failure.
    bool SetUp(const std::string& groupLink, std::string* why);
    bool Load(const std::string& dllPath, std::string* why);

    int Start();
    void MenuInit();
    // A reply to all: the mail from recipients[0] to the user and the
    // first half, Cc the rest; the compose window as the host fills it.
    int ReplyToAll(const std::vector<std::string>& recipients, bool withTemplate);
    // BKC_OnOutgoing for the compose window as the last reply left it.
    int SendFromCompose();
    // Rewrites the settings file with the send check switched on; the next
    // Load and Start read it.
    bool EnableSendCheck();
    // The sender view of a mail from address; the text shown afterwards.
    std::string OpenMail(const std::string& address);
    void Exit();

    std::string DataFolder() const { return data_; }

private:
    std::string SettingsPath() const;

    std::string scratch_, data_, plugins_, appdata_, common_, temp_;
    SPluginLibrary library_;
    bool redirected_ = false;
    bool windows_ = false;
};
