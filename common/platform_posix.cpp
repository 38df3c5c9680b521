// The native stand-in of the platform seam: POSIX files and directories,
// iconv for the code pages, and test-controlled answers for the registry,
// the folders, the string table and the user interface.
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>

#include "common/platform.h"
#include "common/platform_testing.h"
#include "common/posix_paths.h"

namespace platform {

namespace {

// Windows refuses a second open of a file held without sharing, and an
// unshared open of a file already open: the same rule, process-wide.
struct OpenCount {
    int opens = 0;
    bool exclusive = false;
};

struct State {
    std::mutex mutex;
    std::atomic<unsigned> codePage{1252};
    std::map<unsigned, std::string> strings;
    bool hostKey = false;
    std::map<std::string, RegistryValue> values;   // names folded to lower case
    std::string appData;
    std::string commonAppData;
    std::string modulePath;
    std::deque<int> answers;
    std::vector<testing::ShownBox> shown;
    bool shellOpens = true;
    std::vector<std::string> shellTargets;
    bool control = false;
    std::set<void*> gone;
    std::map<std::pair<dev_t, ino_t>, OpenCount> openFiles;
};

State& Global() {
    static State state;
    return state;
}

std::string FoldName(const char* name) {
    std::string folded(name ? name : "");
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

// Registers an open descriptor; false (and nothing registered) when the
// sharing rule forbids the open.
bool RegisterOpen(int fd, bool exclusive) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return false;
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    OpenCount& count = s.openFiles[{st.st_dev, st.st_ino}];
    if (count.opens > 0 && (exclusive || count.exclusive)) return false;
    ++count.opens;
    count.exclusive = exclusive;
    return true;
}

void UnregisterOpen(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return;
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.openFiles.find({st.st_dev, st.st_ino});
    if (it == s.openFiles.end()) return;
    if (--it->second.opens <= 0) s.openFiles.erase(it);
}

int OpenFd(const char* path, int flags, bool exclusive) {
    if (!path) return -1;
    std::string native = NativePath(path);
    int fd = ::open(native.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !RegisterOpen(fd, exclusive)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Windows wildcards: '*' any run, '?' one character, no regard to case.
bool MatchWildcard(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') {
        for (const char* n = name;; ++n) {
            if (MatchWildcard(pattern + 1, n)) return true;
            if (*n == '\0') return false;
        }
    }
    if (*name == '\0') return false;
    if (*pattern != '?' && FoldAscii(*pattern) != FoldAscii(*name)) return false;
    return MatchWildcard(pattern + 1, name + 1);
}

bool MatchPattern(const std::string& pattern, const std::string& name) {
    if (pattern == "*" || pattern == "*.*") return true;
    return MatchWildcard(pattern.c_str(), name.c_str());
}

bool LessNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(FoldAscii(a[i]));
        auto cb = static_cast<unsigned char>(FoldAscii(b[i]));
        if (ca != cb) return ca < cb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

const char* IconvName(unsigned codePage) { return codePage == 932 ? "CP932" : "CP1252"; }

// The iconv name of a Windows code page the stand-in knows; empty for others.
std::string SourceIconvName(unsigned codePage) {
    switch (codePage) {
    case 65001: return "UTF-8";
    case 20127: return "ASCII";
    case 20932: return "EUC-JP";
    case 50220: return "ISO-2022-JP";
    default: break;
    }
    if (codePage > 28590 && codePage < 28606) return "ISO-8859-" + std::to_string(codePage - 28590);
    if (codePage == 932 || (codePage >= 1250 && codePage <= 1258)) return "CP" + std::to_string(codePage);
    return std::string();
}

// One iconv descriptor for the duration of a conversion.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Converts in whole; false when the input does not convert.
    bool Convert(const char* in, size_t inLength, std::string* out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in);
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        if (iconv(cd_, &inPtr, &inLength, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
        if (inLength != 0) return false;
        out->append(buffer, sizeof buffer - outLeft);
        return true;
    }
    // Converts a whole text of any length; false on any byte that does not.
    bool ConvertAll(std::string_view in, std::string* out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        while (inLeft > 0) {
            char buffer[256];
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t done = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out->append(buffer, sizeof buffer - outLeft);
            if (done == static_cast<size_t>(-1) && errno != E2BIG) return false;
        }
        // Flush a stateful decoder (ISO-2022-JP).
        char buffer[16];
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
        out->append(buffer, sizeof buffer - outLeft);
        return true;
    }

private:
    iconv_t cd_;
};

// Decodes UTF-8 as code page 65001 does: every malformed sequence gives
// one U+FFFD.
std::vector<uint32_t> DecodeUtf8(std::string_view utf8) {
    std::vector<uint32_t> points;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t n = utf8.size();
    size_t i = 0;
    while (i < n) {
        unsigned char c = p[i];
        size_t len = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if (c < 0x80) { len = 1; cp = c; }
        else if (c >= 0xC2 && c <= 0xDF) { len = 2; cp = c & 0x1F; min = 0x80; }
        else if (c >= 0xE0 && c <= 0xEF) { len = 3; cp = c & 0x0F; min = 0x800; }
        else if (c >= 0xF0 && c <= 0xF4) { len = 4; cp = c & 0x07; min = 0x10000; }
        bool ok = len > 0;
        size_t used = 1;
        for (size_t k = 1; ok && k < len; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (p[i + k] & 0x3F);
            used = k + 1;
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        points.push_back(ok ? cp : 0xFFFD);
        i += ok ? len : used;
    }
    return points;
}

// Appends one code point converted by cv (from UTF-32LE); false when the
// target has no form for it.
bool ConvertCodePoint(Iconv& cv, uint32_t cp, std::string* out) {
    const char bytes[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                           static_cast<char>((cp >> 16) & 0xFF), static_cast<char>(cp >> 24)};
    return cv.Convert(bytes, sizeof bytes, out);
}

// Nanosecond write times: a rewrite within the same second still shows.
FileStamp StampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.writeTime = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                      static_cast<uint64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

}  // namespace

std::string NativePath(const char* path) {
    std::string native(path ? path : "");
    for (size_t i = 0; i < native.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(native[i])) && i + 1 < native.size()) ++i;
        else if (native[i] == '\\') native[i] = '/';
    }
    return native;
}

// --- files ---------------------------------------------------------------

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = -1; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

File File::OpenRead(const char* path, bool exclusive) {
    File file;
    file.handle_ = OpenFd(path, O_RDONLY, exclusive);
    return file;
}

File File::OpenAlways(const char* path) {
    File file;
    file.handle_ = OpenFd(path, O_RDWR | O_CREAT, /*exclusive=*/true);
    return file;
}

bool File::IsOpen() const { return handle_ >= 0; }

bool File::Size(uint64_t* size) const {
    struct stat st {};
    if (!IsOpen() || !size || fstat(static_cast<int>(handle_), &st) != 0) return false;
    *size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool File::Seek(uint64_t offset) {
    return IsOpen() && lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool File::SeekEnd() { return IsOpen() && lseek(static_cast<int>(handle_), 0, SEEK_END) >= 0; }

bool File::Read(void* buffer, uint32_t n, uint32_t* got) {
    if (got) *got = 0;
    if (!IsOpen() || !got) return false;
    auto* out = static_cast<char*>(buffer);
    uint32_t total = 0;
    while (total < n) {
        ssize_t r = ::read(static_cast<int>(handle_), out + total, n - total);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (r == 0) break;
        total += static_cast<uint32_t>(r);
    }
    *got = total;
    return true;
}

bool File::Truncate(uint64_t size) {
    return IsOpen() && ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) == 0 && Seek(size);
}

bool File::Write(const void* buffer, uint32_t n) {
    if (!IsOpen()) return false;
    const auto* in = static_cast<const char*>(buffer);
    uint32_t total = 0;
    while (total < n) {
        ssize_t r = ::write(static_cast<int>(handle_), in + total, n - total);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        total += static_cast<uint32_t>(r);
    }
    return true;
}

void File::Close() {
    if (!IsOpen()) return;
    UnregisterOpen(static_cast<int>(handle_));
    ::close(static_cast<int>(handle_));
    handle_ = -1;
}

bool FileExists(const char* path) {
    struct stat st {};
    return path && stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool GetFileStamp(const char* path, FileStamp* stamp) {
    struct stat st {};
    if (!path || stat(NativePath(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    *stamp = StampOf(st);
    return true;
}

bool IsDirectory(const char* path) {
    struct stat st {};
    return path && stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectories(const char* path) {
    if (!path || !*path) return false;
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    for (size_t i = 1; i <= native.size(); ++i) {
        if (i < native.size() && native[i] != '/') continue;
        std::string part = native.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return IsDirectory(path);
}

bool CopyFileNoOverwrite(const char* from, const char* to) {
    if (!from || !to) return false;
    int in = ::open(NativePath(from).c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    std::string contents;
    char buffer[8192];
    bool ok = true;
    for (;;) {
        ssize_t r = ::read(in, buffer, sizeof buffer);
        if (r == 0) break;
        if (r < 0) {
            ok = false;
            break;
        }
        contents.append(buffer, static_cast<size_t>(r));
    }
    ::close(in);
    if (!ok) return false;
    // Written under another name first; link() never replaces the target.
    const std::string target = NativePath(to);
    const std::string temp = target + ".new";
    int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return false;
    ok = ::write(out, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size()) &&
         ::fsync(out) == 0;
    ok = ::close(out) == 0 && ok;
    ok = ok && ::link(temp.c_str(), target.c_str()) == 0;
    ::unlink(temp.c_str());
    return ok;
}

bool ReplaceFileContents(const char* path, std::string_view bytes) {
    if (!path) return false;
    const std::string target = NativePath(path);
    const std::string temp = target + ".new";
    int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return false;
    bool ok = ::write(out, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
              ::fsync(out) == 0;
    ok = ::close(out) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool DeleteFilePath(const char* path) { return path && ::unlink(NativePath(path).c_str()) == 0; }

bool ListDirectory(const char* dir, const char* pattern,
                   const std::function<bool(const DirEntry&)>& visit) {
    if (!dir || !pattern) return false;
    std::string native = NativePath(dir);
    DIR* d = opendir(native.empty() ? "." : native.c_str());
    if (!d) return false;
    std::vector<DirEntry> entries;
    std::string wanted(pattern);
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == ".." || !MatchPattern(wanted, name)) continue;
        std::string full = native + "/" + name;
        struct stat st {};
        const bool found = stat(full.c_str(), &st) == 0;
        const bool isDir = found && S_ISDIR(st.st_mode);
        entries.push_back(DirEntry{name, isDir, found && !isDir ? StampOf(st) : FileStamp{}});
    }
    closedir(d);
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return LessNoCase(a.name, b.name); });
    for (const DirEntry& entry : entries) {
        if (!visit(entry)) break;
    }
    return true;
}

// --- code pages ----------------------------------------------------------

unsigned AnsiCodePage() { return Global().codePage.load(); }

bool IsLeadByte(unsigned char c) {
    if (AnsiCodePage() != 932) return false;
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string out;
    if (utf8.empty()) return out;
    Iconv cv(IconvName(AnsiCodePage()), "UTF-32LE");
    if (!cv.Valid()) return out;
    for (uint32_t cp : DecodeUtf8(utf8))
        if (!ConvertCodePoint(cv, cp, &out)) out += '?';
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    if (ansi.empty()) return out;
    unsigned codePage = AnsiCodePage();
    Iconv cv("UTF-8", IconvName(codePage));
    if (!cv.Valid()) return out;
    for (size_t i = 0; i < ansi.size();) {
        size_t len = 1;
        if (codePage == 932 && IsLeadByte(static_cast<unsigned char>(ansi[i])) && i + 1 < ansi.size()) {
            len = 2;
        }
        if (!cv.Convert(ansi.data() + i, len, &out)) out += '?';
        i += len;
    }
    return out;
}

bool CodePageToAnsi(unsigned codePage, std::string_view bytes, std::string* out) {
    out->clear();
    if (bytes.empty()) return true;
    const std::string from = SourceIconvName(codePage);
    if (from.empty()) return false;
    Iconv decode("UTF-32LE", from.c_str());
    std::string points;
    if (!decode.Valid() || !decode.ConvertAll(bytes, &points)) return false;
    Iconv encode(IconvName(AnsiCodePage()), "UTF-32LE");
    if (!encode.Valid()) return false;
    for (size_t i = 0; i + 4 <= points.size(); i += 4) {
        const auto* p = reinterpret_cast<const unsigned char*>(points.data() + i);
        const uint32_t cp = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
        if (!ConvertCodePoint(encode, cp, out)) *out += '?';
    }
    return true;
}

size_t AnsiCharLength(std::string_view utf8Char) {
    const std::vector<uint32_t> points = DecodeUtf8(utf8Char);
    if (points.size() != 1 || (points[0] == 0xFFFD && utf8Char != "\xEF\xBF\xBD")) return 0;
    Iconv cv(IconvName(AnsiCodePage()), "UTF-32LE");
    if (!cv.Valid()) return 0;
    std::string out;
    return ConvertCodePoint(cv, points[0], &out) ? out.size() : 0;
}

// --- host registry -------------------------------------------------------

bool HostKeyExists() {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.hostKey;
}

std::optional<RegistryValue> ReadHostValue(const char* name) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.hostKey) return std::nullopt;
    auto it = s.values.find(FoldName(name));
    if (it == s.values.end()) return std::nullopt;
    return it->second;
}

// --- folders -------------------------------------------------------------

std::string AppDataFolder() {
    std::string path;
    {
        State& s = Global();
        std::lock_guard<std::mutex> lock(s.mutex);
        path = s.appData;
    }
    if (!path.empty()) CreateDirectories(path.c_str());
    return path;
}

std::string CommonAppDataFolder() {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.commonAppData;
}

// The native build has no module: resources come from the test's table.
void SetModule(void*) {}

void* Module() { return nullptr; }

std::string ModuleFilePath() {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.modulePath;
}

// --- user interface ------------------------------------------------------

int ShowMessageBox(void* owner, const char* text, const char* caption, unsigned flags) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.shown.push_back(testing::ShownBox{owner, text ? text : "", caption ? caption : "", flags});
    if (!s.answers.empty()) {
        int answer = s.answers.front();
        s.answers.pop_front();
        return answer;
    }
    return (flags & 0xF) == kMbYesNo ? kIdYes : kIdOk;
}

bool OpenWithShell(void*, std::string_view target) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.shellTargets.emplace_back(target);
    return s.shellOpens;
}

std::string LoadResString(unsigned id, size_t maxBytes) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.strings.find(id);
    if (it == s.strings.end() || maxBytes == 0) return std::string();
    return it->second.substr(0, maxBytes - 1);
}

bool ControlKeyDown() {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.control;
}

bool WindowExists(void* window) {
    if (!window) return false;
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.gone.count(window) == 0;
}

// --- test controls -------------------------------------------------------

namespace testing {

void Reset() {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.codePage = 1252;
    s.strings.clear();
    s.hostKey = false;
    s.values.clear();
    s.appData.clear();
    s.commonAppData.clear();
    s.modulePath.clear();
    s.answers.clear();
    s.shown.clear();
    s.shellOpens = true;
    s.shellTargets.clear();
    s.control = false;
    s.gone.clear();
}

void SetAnsiCodePage(unsigned codePage) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.codePage = codePage == 932 ? 932 : 1252;
}

void SetResString(unsigned id, const std::string& text) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.strings[id] = text;
}

void SetHostKeyExists(bool exists) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.hostKey = exists;
}

void SetHostValue(const char* name, const RegistryValue& value) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.values[FoldName(name)] = value;
}

void ClearHostValue(const char* name) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.values.erase(FoldName(name));
}

RegistryValue DwordValue(uint32_t value) {
    RegistryValue v;
    v.type = 4;
    for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return v;
}

RegistryValue StringValue(const std::string& text) {
    RegistryValue v;
    v.type = 1;
    v.data.assign(text.begin(), text.end());
    v.data.push_back(0);
    return v;
}

void SetAppDataFolder(const std::string& path) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.appData = path;
}

void SetCommonAppDataFolder(const std::string& path) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.commonAppData = path;
}

void SetModuleFilePath(const std::string& path) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.modulePath = path;
}

void QueueMessageBoxAnswer(int answer) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.answers.push_back(answer);
}

std::vector<ShownBox> TakeShownBoxes() {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<ShownBox> shown;
    shown.swap(s.shown);
    return shown;
}

void SetShellOpens(bool opens) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.shellOpens = opens;
}

std::vector<std::string> TakeShellTargets() {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<std::string> targets;
    targets.swap(s.shellTargets);
    return targets;
}

void SetControlKeyDown(bool down) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.control = down;
}

void SetWindowGone(void* window, bool gone) {
    State& s = Global();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (gone) s.gone.insert(window);
    else s.gone.erase(window);
}

}  // namespace testing

}  // namespace platform
