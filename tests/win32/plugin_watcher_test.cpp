// The change watcher under Wine: a change anywhere below a book's folder is
// reported from the moment the start routine armed the watches, the next
// check reads it once, and starting and stopping leaves no thread or handle
// behind.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/addr_book_changes.h"
#include "addressbook/addr_book_refresh.h"
#include "addressbook/halyard_addr_book.h"
#include "common/sizes.h"
#include "common/text.h"
#include "host/host_api.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_state.h"
#include "plugin/watcher.h"
#include "support/test_support.h"

namespace {

std::string Record(const std::string& name, const std::string& address) {
    return "id\t0\t\t" + name + "\t" + address + "\t0\r\n";
}

std::string NameOf(SHalyardAddrBook& book, const char* address) {
    char name[kNameSize] = "";
    return book.FindName(address, name, "") ? name : "<not listed>";
}

// Waits up to limitMs for a change to be reported; the time it took, or -1.
long WaitForChange(DWORD limitMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < limitMs) {
        if (Plugin().addrBookChanges.Pending()) return static_cast<long>(GetTickCount() - start);
        Sleep(10);
    }
    return -1;
}

DWORD CountThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD count = 0;
    DWORD self = GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

// Handles of this process, from the system's handle table (Wine does not
// implement GetProcessHandleCount).
DWORD CountHandles() {
    struct HandleEntry {
        USHORT processId;
        USHORT backTraceIndex;
        UCHAR objectType;
        UCHAR attributes;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    const ULONG kSystemHandleInformation = 16;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    LONG status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return 0;
    ULONG total = *reinterpret_cast<ULONG*>(buffer.data());
    auto* entries = reinterpret_cast<HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD count = 0;
    for (ULONG i = 0; i < total; ++i) {
        if (entries[i].processId == static_cast<USHORT>(GetCurrentProcessId())) ++count;
    }
    return count;
}

class WatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        Plugin().addrBookChanges.Take();
        Plugin().stopFlag.store(0);
    }
    void TearDown() override {
        StopAddressBookWatcher(Plugin());
        Plugin().addrBookChanges.Take();
    }
    void Write(const std::string& relative, const std::string& bytes) {
        test::WriteBytes(dir_.Join(relative), bytes);
    }
    // As the start routine does: the watches armed first, then the index
    // read, then the watches handed to the thread.
    std::unique_ptr<SHalyardAddrBook> StartWatching() {
        const std::string root = dir_.Join("AddrBook");
        platform::FolderWatches watches = ArmAddressBookWatches(root);
        auto book = std::make_unique<SHalyardAddrBook>(root.c_str());
        EXPECT_TRUE(StartAddressBookWatcher(Plugin(), std::move(watches)));
        return book;
    }

    test::TempDir dir_;
};

TEST_F(WatcherTest, EveryChangeIsSeenFromTheStartOn) {
    Write("AddrBook/@Home/Friends/Close/Group.idx", Record("Old", "a@x"));
    Write("AddrBook/@Other/Address.ini", "[Settings]\r\nPath=" + dir_.Join("Moved") + "\r\n");
    Write("Moved/Team/Group.idx", Record("Team", "t@x"));
    auto book = StartWatching();
    EXPECT_EQ(NameOf(*book, "a@x"), "Old");
    EXPECT_TRUE(Plugin().watcherThread);
    EXPECT_TRUE(Plugin().stopEvent);

    // At once after the start: nothing can fall between reading and watching.
    Write("AddrBook/@Home/Friends/Close/Group.idx", Record("New", "a@x"));
    EXPECT_GE(WaitForChange(2000), 0) << "no change seen";
    Sleep(200);   // let the notifications of that one write settle
    EXPECT_EQ(NameOf(*book, "a@x"), "Old");   // cached until the check
    EXPECT_TRUE(RefreshAddressBook(Plugin().addrBookChanges, *book));
    EXPECT_EQ(NameOf(*book, "a@x"), "New");
    EXPECT_FALSE(RefreshAddressBook(Plugin().addrBookChanges, *book));

    // A book whose contents lie elsewhere is watched there; the change
    // names the file.
    Write("Moved/Team/Group.idx", Record("Team B", "t@x"));
    EXPECT_GE(WaitForChange(2000), 0);
    Sleep(200);
    bool named = false;
    for (const auto& change : Plugin().addrBookChanges.Take().changes)
        named = named || EqualNoCaseAscii(change.path, JoinPath(dir_.Join("Moved"), "Team\\Group.idx"));
    EXPECT_TRUE(named);

    StopAddressBookWatcher(Plugin());
    EXPECT_FALSE(Plugin().watcherThread);
    EXPECT_FALSE(Plugin().stopEvent);
}

TEST_F(WatcherTest, AFolderNotThereAtTheStartIsWatchedOnceItIs) {
    // A book on a share that is not connected yet.
    Write("AddrBook/@Late/Address.ini", "[Settings]\r\nPath=" + dir_.Join("Late") + "\r\n");
    const std::string root = dir_.Join("AddrBook");
    platform::FolderWatches watches = ArmAddressBookWatches(root);
    EXPECT_EQ(watches.Size(), 0u);
    auto book = std::make_unique<SHalyardAddrBook>(root.c_str());
    ASSERT_TRUE(StartAddressBookWatcher(Plugin(), std::move(watches)));
    EXPECT_LT(WaitForChange(1500), 0);

    // Once there, it is watched within the reopening time, and the reader
    // is told to read it all, since nothing there was seen before.
    Write("Late/Team/Group.idx", Record("Late", "l@x"));
    EXPECT_GE(WaitForChange(3000), 0) << "the folder is not watched";
    Sleep(200);
    EXPECT_TRUE(Plugin().addrBookChanges.Take().everything);
    EXPECT_TRUE(RefreshAddressBook(Plugin().addrBookChanges, *book));
    EXPECT_EQ(NameOf(*book, "l@x"), "Late");

    // From then on its changes are named as any other book's.
    Write("Late/Team/Group.idx", Record("Later", "l@x"));
    EXPECT_GE(WaitForChange(2000), 0);
    Sleep(200);
    EXPECT_FALSE(Plugin().addrBookChanges.Take().changes.empty());
}

TEST_F(WatcherTest, WithoutAnyBookTheThreadEndsAtOnce) {
    ASSERT_TRUE(StartAddressBookWatcher(Plugin(), platform::FolderWatches::Arm({})));
    EXPECT_FALSE(StartAddressBookWatcher(Plugin(), platform::FolderWatches()));   // one at a time
    HANDLE thread = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), Plugin().watcherThread.Get(),
                                GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE, 0));
    EXPECT_EQ(WaitForSingleObject(thread, 100), static_cast<DWORD>(WAIT_TIMEOUT));

    DWORD start = GetTickCount();
    StopAddressBookWatcher(Plugin());
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    CloseHandle(thread);
}

TEST_F(WatcherTest, OnlySixtyOneFoldersAreWatched) {
    for (int i = 0; i < 64; ++i) {
        char book[64];
        std::snprintf(book, sizeof book, "AddrBook/@b%02d/F/Group.idx", i);
        Write(book, Record("n", "a@x"));
    }
    auto book = StartWatching();
    ASSERT_EQ(book->BookContentPaths().size(), 64u);

    Write("AddrBook/@b62/F/Group.idx", Record("changed", "a@x"));
    EXPECT_EQ(WaitForChange(500), -1);
    Write("AddrBook/@b60/F/Group.idx", Record("changed", "a@x"));
    EXPECT_GE(WaitForChange(1000), 0);
}

TEST_F(WatcherTest, StartAndStopLeaveNothingBehind) {
    Write("AddrBook/@One/F/Group.idx", Record("n", "a@x"));
    Write("AddrBook/~Two/G/Group.idx", Record("n", "b@x"));
    // One cycle first, so that whatever the system sets up once is there.
    StartWatching();
    StopAddressBookWatcher(Plugin());

    DWORD handles = CountHandles();
    DWORD threads = CountThreads();
    ASSERT_GT(handles, 0u);
    ASSERT_GT(threads, 0u);
    for (int i = 0; i < 50; ++i) {
        StartWatching();
        StopAddressBookWatcher(Plugin());
    }
    EXPECT_EQ(CountHandles(), handles);
    EXPECT_EQ(CountThreads(), threads);
}

// The whole start and exit routine, with the watcher over a real address
// book, leaves no handle and no thread behind.
std::string g_dataFolder;
const char* HALYARD_WINAPI FakeDataFolder() { return g_dataFolder.c_str(); }

TEST_F(WatcherTest, FiftyStartsAndExitsOfThePlugInLeaveNothingBehind) {
    Write("AddrBook/@One/F/Group.idx", Record("n", "a@x"));
    g_dataFolder = dir_.Path() + "\\";
    HostApi saved = Plugin().host;
    Plugin().host.GetDataFolder = FakeDataFolder;
    ASSERT_EQ(StartPlugin(), 0);
    ASSERT_TRUE(Plugin().watcherThread);
    ExitPlugin();

    DWORD handles = CountHandles();
    DWORD threads = CountThreads();
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(StartPlugin(), 0);
        ASSERT_TRUE(Plugin().settings) << i;
        ASSERT_TRUE(Plugin().addrBook) << i;
        ExitPlugin();
    }
    EXPECT_EQ(CountHandles(), handles);
    EXPECT_EQ(CountThreads(), threads);
    Plugin().host = saved;
}

}  // namespace
