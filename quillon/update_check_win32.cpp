#include "quillon/update_check_win32.h"

#include <optional>
#include <utility>
#include <vector>

#include "quillon/announcement.h"
#include "quillon/crypto_win32.h"
#include "quillon/installer_file_win32.h"
#include "quillon/progress_window_win32.h"
#include "quillon/quillon.h"
#include "quillon/res/resource_ids.h"
#include "quillon/ui_text_win32.h"
#include "quillon/update_address.h"
#include "quillon/version_compare.h"

namespace {

int RefuseAddress(const UpdateUi& ui, const std::wstring& address) {
    ShowUpdateBox(ui, IDS_NOT_HTTPS, {address}, MB_OK | MB_ICONWARNING);
    return kQuillonRefusedAddress;
}

// Tells the user why a transfer failed; answers the outcome. A server that
// answered is not called unreachable. A transfer that ran past its limit is
// reported by the caller.
int ReportTransferFailure(const UpdateUi& ui, const TransferResult& result) {
    switch (result.status) {
    case TransferStatus::Cancelled:
        return kQuillonCancelled;
    case TransferStatus::Refused:
        return RefuseAddress(ui, FromUtf8(result.refusedAddress));
    case TransferStatus::HttpStatus: {
        const std::wstring reason =
            FillText(LoadText(ui.instance, IDS_HTTP_STATUS), {std::to_wstring(result.detail)});
        ShowUpdateBox(ui, IDS_NOT_FETCHED, {reason}, MB_OK | MB_ICONWARNING);
        return kQuillonUnreachable;
    }
    case TransferStatus::TooManyRedirects:
        ShowUpdateBox(ui, IDS_NOT_FETCHED, {LoadText(ui.instance, IDS_TOO_MANY_REDIRECTS)},
                      MB_OK | MB_ICONWARNING);
        return kQuillonUnreachable;
    case TransferStatus::WriteFailed:
        ShowUpdateBox(ui, IDS_CANNOT_SAVE, {SystemReason(ui.instance, result.detail)}, MB_OK | MB_ICONWARNING);
        return kQuillonFailed;
    default:
        ShowUpdateBox(ui, IDS_UNREACHABLE, {SystemReason(ui.instance, result.detail)}, MB_OK | MB_ICONWARNING);
        return kQuillonUnreachable;
    }
}

// The announcement field whose notes suit the boxes: the string table of
// the boxes' language names it (ASCII).
std::string NotesField(const UpdateUi& ui) {
    const std::wstring field = LoadText(ui.instance, IDS_NOTES_FIELD);
    std::string ascii;
    for (wchar_t c : field) ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return ascii;
}

// Writes the installer into the file, which is closed when this returns:
// nothing reads it while it can still be written.
TransferResult Download(const UpdateUi& ui, const Announcement& announcement, const std::string& fileName,
                        win32::ScopedFile file) {
    TransferTarget target;
    target.limit = announcement.size;
    target.file = file.Get();
    const std::wstring status = FillText(LoadText(ui.instance, IDS_DOWNLOADING), {FromUtf8(fileName)});
    return RunProgressWindow(ui, status, announcement.installer, target);
}

// Downloads, verifies and starts the installer the user accepted.
int InstallUpdate(const UpdateUi& ui, const Announcement& announcement, const std::string& fileName) {
    NewTempFile file;
    DWORD error = 0;
    win32::ScopedFile writing = file.Create(fileName, &error);
    if (!writing) {
        ShowUpdateBox(ui, IDS_CANNOT_SAVE, {SystemReason(ui.instance, error)}, MB_OK | MB_ICONWARNING);
        return kQuillonFailed;
    }
    const TransferResult result = Download(ui, announcement, fileName, std::move(writing));
    if (result.status != TransferStatus::Done && result.status != TransferStatus::TooLarge) {
        return ReportTransferFailure(ui, result);   // the file goes with `file`
    }

    win32::ScopedFile locked;   // keeps writers out between the check and the start
    if (result.status == TransferStatus::TooLarge ||
        !VerifyInstaller(file.Path(), announcement.size, announcement.sha256, &locked)) {
        ShowUpdateBox(ui, IDS_MISMATCH, {}, MB_OK | MB_ICONWARNING);
        return kQuillonMismatch;
    }
    if (!StartInstaller(ui.owner, file.Path(), &error)) {
        locked.Reset();
        ShowUpdateBox(ui, IDS_CANNOT_START, {SystemReason(ui.instance, error)}, MB_OK | MB_ICONWARNING);
        return kQuillonFailed;
    }
    file.Keep();   // the installer runs from it
    locked.Reset();
    ShowUpdateBox(ui, IDS_STARTED, {}, MB_OK | MB_ICONINFORMATION);
    return kQuillonStarted;
}

}  // namespace

int RunUpdateCheck(const UpdateRequest& request) {
    const UpdateUi ui = MakeUpdateUi(request.owner, request.instance, FromAnsi(request.product));
    if (!AllowedAddress(request.address)) return RefuseAddress(ui, FromAnsi(request.address));

    std::string body;
    TransferTarget target;
    target.limit = kAnnouncementMaxBytes;
    target.memory = &body;
    const TransferResult fetched = RunQuietTransfer(ui, request.address, target);
    const bool tooLarge = fetched.status == TransferStatus::TooLarge;
    if (fetched.status != TransferStatus::Done && !tooLarge) return ReportTransferFailure(ui, fetched);

    Announcement announcement;
    const AnnouncementStatus parsed =
        tooLarge ? AnnouncementStatus::Invalid : ParseAnnouncement(body, &announcement);
    if (parsed == AnnouncementStatus::Invalid) {
        ShowUpdateBox(ui, IDS_INVALID, {}, MB_OK | MB_ICONWARNING);
        return kQuillonInvalid;
    }
    if (parsed == AnnouncementStatus::Unsigned ||
        !IsSignedByTrustedKey(std::string_view(body).substr(0, announcement.signedLength), announcement.signature,
                              request.keys)) {
        ShowUpdateBox(ui, IDS_UNSIGNED, {}, MB_OK | MB_ICONWARNING);
        return kQuillonUnsigned;
    }

    // The installer's address is judged before the user is asked.
    const std::optional<UpdateAddress> installer = ParseUpdateAddress(announcement.installer);
    const std::string fileName = installer ? InstallerFileName(*installer) : std::string();
    if (fileName.empty()) {
        ShowUpdateBox(ui, IDS_INVALID, {}, MB_OK | MB_ICONWARNING);
        return kQuillonInvalid;
    }
    if (!IsAllowedAddress(*installer)) return RefuseAddress(ui, FromUtf8(announcement.installer));

    // An installed version that does not parse counts as the oldest.
    std::vector<uint32_t> installed;
    if (!ParseVersion(request.installedVersion, &installed)) installed.assign(1, 0);
    const std::wstring installedText = FromAnsi(request.installedVersion);
    if (CompareVersions(announcement.version, installed) <= 0) {
        ShowUpdateBox(ui, IDS_LATEST, {ui.product, installedText}, MB_OK | MB_ICONINFORMATION);
        return kQuillonUpToDate;
    }
    const int answer = ShowUpdateBox(
        ui, IDS_AVAILABLE,
        {ui.product, FromUtf8(announcement.versionText), installedText,
         FromUtf8(NotesIn(announcement, NotesField(ui)))},
        MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return kQuillonDeclined;
    return InstallUpdate(ui, announcement, fileName);
}
