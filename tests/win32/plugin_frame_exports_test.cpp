// The built library's export and import tables, read from the image mapped
// without running its load notification.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

const char* const kExports[] = {
    "BKC_OnStart",       "BKC_OnExit",     "BKC_OnMenuInit",       "BKC_OnOpenFolder",
    "BKC_OnOpenMail",    "BKC_OnEveryMinute", "BKC_OnOpenCompose", "BKC_OnOutgoing",
    "BKC_OnKeyDispatch", "BKC_OnRetrieve", "BKC_OnSend",           "BKC_OnFinishRetrieve",
    "BKC_OnPlugInSetup", "BKC_OnPlugInInfo", "BKC_OnDragDrop",     "BKC_OnBeforeFilter",
};

// Windows' own libraries; the static runtime needs nothing else.
const char* const kSystemDlls[] = {
    "kernel32.dll", "user32.dll",   "gdi32.dll", "shell32.dll", "advapi32.dll",
    "version.dll",  "comdlg32.dll", "ole32.dll", "msvcrt.dll",  "shlwapi.dll",
};

class MappedLibrary {
public:
    MappedLibrary() : module_(LoadLibraryExA(HALYARD_DLL_PATH, nullptr, DONT_RESOLVE_DLL_REFERENCES)) {}
    ~MappedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Get() const { return module_; }

    const IMAGE_DATA_DIRECTORY& Directory(int which) const {
        auto base = reinterpret_cast<const BYTE*>(module_);
        auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        return nt->OptionalHeader.DataDirectory[which];
    }
    template <typename T>
    const T* At(DWORD rva) const {
        return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module_) + rva);
    }

private:
    HMODULE module_;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

TEST(LibraryTables, ExportsExactlyTheSixteenPlainNames) {
    MappedLibrary library;
    ASSERT_NE(library.Get(), nullptr) << GetLastError();

    for (const char* name : kExports) {
        EXPECT_NE(GetProcAddress(library.Get(), name), nullptr) << name;
        std::string decorated = std::string(name) + "@0";
        EXPECT_EQ(GetProcAddress(library.Get(), decorated.c_str()), nullptr) << decorated;
    }

    const IMAGE_DATA_DIRECTORY& dir = library.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    ASSERT_NE(dir.VirtualAddress, 0u);
    auto exports = library.At<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    EXPECT_STREQ(library.At<char>(exports->Name), "Halyard.dll");
    std::set<std::string> names;
    auto nameRvas = library.At<DWORD>(exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.insert(library.At<char>(nameRvas[i]));
    std::set<std::string> expected(std::begin(kExports), std::end(kExports));
    EXPECT_EQ(names, expected);
    EXPECT_EQ(exports->NumberOfFunctions, 16u);
}

TEST(LibraryTables, ImportsOnlyWindowsSystemLibraries) {
    MappedLibrary library;
    ASSERT_NE(library.Get(), nullptr);
    const IMAGE_DATA_DIRECTORY& dir = library.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_NE(dir.VirtualAddress, 0u);
    std::set<std::string> allowed(std::begin(kSystemDlls), std::end(kSystemDlls));
    int count = 0;
    for (auto entry = library.At<IMAGE_IMPORT_DESCRIPTOR>(dir.VirtualAddress); entry->Name; ++entry) {
        std::string name = Lower(library.At<char>(entry->Name));
        EXPECT_TRUE(allowed.count(name)) << "imports " << name;
        ++count;
    }
    EXPECT_GT(count, 0);

    // No loader-resolved delay imports either (a MinGW runtime DLL would hide
    // there). The update checker's delay import is the toolchain's own table,
    // resolved by its helper on first call, and is checked with the binaries.
    EXPECT_EQ(library.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).VirtualAddress, 0u);
}
