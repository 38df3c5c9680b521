// The platform seam: everything the portable core needs from the operating
// system. The Windows implementation lives in platform_win32.cpp; a POSIX
// stand-in (platform_posix.cpp) lets the core run natively under the
// sanitizers. Paths handed to the seam use backslashes as on Windows; the
// POSIX side maps them to slashes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One open file. Owns its handle; moves, never copies.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Existing file, read access. exclusive: no sharing, so a file that
    // another handle holds open cannot be opened.
    static File OpenRead(const char* path, bool exclusive);
    // Read and write, no sharing, created when missing (archive attribute).
    static File OpenAlways(const char* path);

    bool IsOpen() const;
    bool Size(uint64_t* size) const;
    bool Seek(uint64_t offset);
    bool SeekEnd();
    // Reads up to n bytes; *got receives the count. False on failure.
    bool Read(void* buffer, uint32_t n, uint32_t* got);
    bool Write(const void* buffer, uint32_t n);
    // Cuts the file back to size bytes (what a failed write added goes).
    bool Truncate(uint64_t size);
    void Close();

private:
    intptr_t handle_ = -1;
};

// True for an existing file that is not a directory.
bool FileExists(const char* path);
bool IsDirectory(const char* path);
// Creates the directory with all missing parents.
bool CreateDirectories(const char* path);
// Copies without ever overwriting an existing target, whole or not at all:
// the copy is made beside the target and only then given its name.
bool CopyFileNoOverwrite(const char* from, const char* to);
// Replaces the file's contents with bytes, whole or not at all: a complete
// new file is written beside it, flushed, and only then moved over it with
// write-through. False (a full disk, the file held by another program, a
// folder in the way) leaves the file as it was, byte for byte.
bool ReplaceFileContents(const char* path, std::string_view bytes);
bool DeleteFilePath(const char* path);

// What tells one version of a file from the next: its size and its last
// write time (system ticks). Equal stamps are taken as unchanged contents.
struct FileStamp {
    uint64_t size = 0;
    uint64_t writeTime = 0;
    bool operator==(const FileStamp& other) const {
        return size == other.size && writeTime == other.writeTime;
    }
};
// The stamp of an existing file; false when there is none.
bool GetFileStamp(const char* path, FileStamp* stamp);

struct DirEntry {
    std::string name;   // entry name, no directory
    bool isDirectory;
    FileStamp stamp;    // files only
};
// Lists the entries of dir matching pattern ("*.*" for all), without "."
// and "..", in the order the system returns them (sorted without regard to
// case on both platforms). The visitor returns false to stop. A missing
// directory lists nothing and answers false.
bool ListDirectory(const char* dir, const char* pattern,
                   const std::function<bool(const DirEntry&)>& visit);

// The most folder trees one watch set holds: the system waits on at most 64
// handles, one of which is the stop event.
constexpr size_t kMaxWatchedFolders = 61;

// What a change did to the path it reports. kUnknown: the system lost track
// (too many changes at once, or the folder itself went away), so anything
// below the watched folder may have changed.
enum class FolderChangeKind : uint8_t { kAdded, kRemoved, kModified, kRenamedFrom, kRenamedTo, kUnknown };
struct FolderChange {
    FolderChangeKind kind;
    std::string path;   // the full path touched; kUnknown: the watched folder
};

// Change watches over folder trees, armed and owned; Windows only.
struct FolderWatch;
class FolderWatches {
public:
    FolderWatches();
    ~FolderWatches();
    FolderWatches(FolderWatches&& other) noexcept;
    FolderWatches& operator=(FolderWatches&& other) noexcept;

    // Arms a watch over each folder with everything below it: from this
    // moment on every change is kept until Watch reports it. Arm before the
    // folders are read, so that no change can fall between the reading and
    // the watching; some systems (Wine) extend a watch to a subfolder only
    // once that folder is listed after the arming, which the reading then
    // does. A folder that cannot be watched now is kept to be tried again;
    // every one past kMaxWatchedFolders is left out.
    static FolderWatches Arm(const std::vector<std::string>& folders);
    // Reports every change through changed(), renewing each watch after it
    // fired. A watch that fails or cannot be renewed (the folder went away)
    // is reported as kUnknown and closed; it and every folder that could not
    // be watched at arming are tried again each second, and reported as
    // kUnknown once watched again, since what changed meanwhile went unseen.
    // Returns once stopEvent (an event handle the caller owns) is signalled
    // or stopFlag is set.
    void Watch(void* stopEvent, const std::atomic<uint8_t>& stopFlag,
               const std::function<void(const FolderChange&)>& changed);
    // The folders watched now.
    size_t Size() const;

private:
    std::vector<std::unique_ptr<FolderWatch>> watches_;
};

// The ANSI code page of the process (932 on Japanese systems, 1252 ...).
unsigned AnsiCodePage();
// True for a lead byte of a double-byte character in the ANSI code page.
bool IsLeadByte(unsigned char c);
// UTF-8 to the ANSI code page: malformed input becomes replacement
// characters, unmappable characters '?'. Empty result on failure.
std::string Utf8ToAnsi(std::string_view utf8);
// The ANSI code page to UTF-8.
std::string AnsiToUtf8(std::string_view ansi);
// Text in codePage to the ANSI code page, unmappable characters '?'. False,
// out left empty, when the system has no such code page or the bytes are
// not well-formed in it.
bool CodePageToAnsi(unsigned codePage, std::string_view bytes, std::string* out);
// Bytes that the one UTF-8 character utf8Char takes in the ANSI code page;
// 0 when that code page has no form for it (a best-fit look-alike does not
// count) or when utf8Char is not exactly one well-formed character.
size_t AnsiCharLength(std::string_view utf8Char);

// Private-profile (INI) access with the system's semantics.
// Returns the number of bytes copied, without terminator, as
// GetPrivateProfileStringA does (size - 1 when the value was cut).
size_t ProfileGetString(const char* section, const char* key, const char* fallback,
                        char* buffer, size_t size, const char* path);
int ProfileGetInt(const char* section, const char* key, int fallback, const char* path);
bool ProfileWriteString(const char* section, const char* key, const char* value,
                        const char* path);

// A value of the host's registry key "Software\RimArts\B2\Settings" under
// HKEY_CURRENT_USER. hostKeyOpened reports whether the key could be opened.
struct RegistryValue {
    uint32_t type = 0;            // REG_SZ 1, REG_BINARY 3, REG_DWORD 4
    std::vector<uint8_t> data;
};
bool HostKeyExists();
std::optional<RegistryValue> ReadHostValue(const char* name);

// Folders of the user and of all users; empty when unavailable.
std::string AppDataFolder();        // roaming, created if missing
std::string CommonAppDataFolder();
// The plug-in library's module handle, handed over once by the load
// notification; resources and the library's own path come from it.
void SetModule(void* module);
void* Module();
// The full path of the plug-in library itself.
std::string ModuleFilePath();

// A counted reference to a loaded library: the library stays loaded while
// one is held. Null when the library could not be had.
struct ModuleReleaser {
    void operator()(void* module) const;
};
using ModuleReference = std::unique_ptr<void, ModuleReleaser>;
// Another reference to the plug-in library itself, for a thread of its own
// that may outlive the unload notification.
ModuleReference ReferenceModule();
// Ends the calling thread and drops reference in the same step, so that a
// thread running the library's code may hold the last reference to it.
[[noreturn]] void ExitThreadReleasing(ModuleReference reference, unsigned exitCode);
// fileName from the plug-in library's own folder, by full path: the
// system's search order is never asked. Null when it cannot be loaded.
ModuleReference LoadLibraryBesideModule(std::string_view fileName);
// fileName from the system's own folder, held only while the reference is:
// a library the plug-in imported would come and go with it, and in a host
// that never loads that library itself each unload would lose what the
// library leaves behind. Null when it cannot be loaded.
ModuleReference LoadSystemLibrary(std::string_view fileName);
// The function name of a library that reference holds; null when absent.
void* LibraryFunction(const ModuleReference& library, const char* name);

// The program the plug-in was loaded into (the host): its module handle,
// not owned, and its exported functions by name (null when absent).
void* ProgramModule();
void* ProgramExport(const char* name);

// Opens a document, a web address or a mailto: link with the handler the
// system has for it; false when none took it. owner may be null.
bool OpenWithShell(void* owner, std::string_view target);

// User interface. Values equal the Win32 ones.
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbDefaultSecond = 0x100;   // the second button is the default
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Shows a message box; owner may be null. Returns the button pressed.
int ShowMessageBox(void* owner, const char* text, const char* caption, unsigned flags);
// A string of the plug-in's string table (ANSI), at most maxBytes - 1 bytes.
std::string LoadResString(unsigned id, size_t maxBytes = 1024);
// Whether the Control key is held down, as the calling thread sees it.
bool ControlKeyDown();
// Whether a window handle still names a window.
bool WindowExists(void* window);

}  // namespace platform
