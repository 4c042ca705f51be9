#include "store/disk_file_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "../support/clip_store_probe.h"
#include "../support/folder_entries.h"
#include "store/clip_store.h"
#include "store/index_file.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

namespace fsys = std::filesystem;

std::string LargeIndex(const std::string& stem, int rows) {
    ClipIndex index;
    for (int i = 0; i < rows; ++i) index.AppendItem(stem + std::to_string(i), stem + std::to_string(i) + ".bmp");
    return EncodeIndexFile(index);
}

const std::string& SavedByTheChild(unsigned i) {
    static const std::string saved[] = {LargeIndex("Image_", 30000), LargeIndex("Texte_", 25000)};
    return saved[i % 2];
}

constexpr std::string_view kChildFlag = "--tessera-saver-child=";
constexpr std::string_view kLockChildFlag = "--tessera-lock-child=";

// What follows `flag` on this program's command line, when it was started with it.
std::optional<std::string> ChildArgument(std::string_view flag) {
    const std::string commandLine = ::GetCommandLineA();
    const std::size_t at = commandLine.find(flag);
    if (at == std::string::npos) return std::nullopt;
    std::string argument = commandLine.substr(at + flag.size());
    argument.erase(std::remove(argument.begin(), argument.end(), '"'), argument.end());
    return argument;
}

// Started with one of the flags, this program is a child of a test and never reaches the tests:
// it saves in a loop until it is terminated (or a minute has passed), or it claims the store
// folder named after the flag, as Tessera does, and waits to be terminated.
[[maybe_unused]] const bool g_isChild = [] {
    DiskFileSystem fs;
    if (const std::optional<std::string> path = ChildArgument(kChildFlag)) {
        const auto stop = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        for (unsigned i = 0; std::chrono::steady_clock::now() < stop; ++i) fs.ReplaceContents(*path, SavedByTheChild(i));
        ::ExitProcess(0);
    }
    if (const std::optional<std::string> dir = ChildArgument(kLockChildFlag)) {
        ClipStore store(fs, *dir, *dir + ".FIC");
        store.Open({"HERE", ::GetCurrentProcessId()});
        ::Sleep(60000);
        ::ExitProcess(0);
    }
    return false;
}();

// Starts this program with `flag` and `argument`; the child's process handle.
win::unique_handle StartChild(std::string_view flag, const std::string& argument) {
    char exe[MAX_PATH];
    if (::GetModuleFileNameA(nullptr, exe, MAX_PATH) == 0) return {};
    // Built by appending: GCC 12 sees a false overlap in a chain of operator+ here.
    std::string commandLine = "\"";
    commandLine.append(exe).append("\" ").append(flag).append("\"").append(argument).append("\"");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return {};
    ::CloseHandle(started.hThread);
    return win::unique_handle(started.hProcess);
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
        dir_ = std::string(temp) + "tessera-store-" + std::to_string(::GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(::CreateDirectoryA(dir_.c_str(), nullptr)) << dir_;
    }
    void TearDown() override {
        std::error_code ignored;
        fsys::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return dir_ + "\\" + name; }
    std::vector<std::string> Entries() const { return testing::FolderEntries(dir_); }

    std::string dir_;
    DiskFileSystem fs_;
};

TEST_F(Win32FileSystemTest, ReplaceContentsKeepsAttributesAndHardLinks) {
    const std::string path = PathOf("Tessera.FIC");
    ASSERT_TRUE(fs_.ReplaceContents(path, "old content, rather longer than the new"));
    // The temporary copy is hidden while written; the saved file must not be.
    EXPECT_EQ(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(fs_.ReplaceContents(path, std::string("second\0\r\n", 9)));
    EXPECT_EQ(fs_.ReadAll(path), std::string("second\0\r\n", 9));
    EXPECT_NE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    const std::string other = PathOf("other name");
    ASSERT_TRUE(::CreateHardLinkA(other.c_str(), path.c_str(), nullptr));
    ASSERT_TRUE(fs_.ReplaceContents(path, "new"));
    EXPECT_EQ(fs_.ReadAll(other), "new");
    BY_HANDLE_FILE_INFORMATION info{};
    win::unique_hfile file(
        ::CreateFileA(other.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file && ::GetFileInformationByHandle(file.get(), &info));
    EXPECT_EQ(info.nNumberOfLinks, 2u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Tessera.FIC", "other name"}));
}

TEST_F(Win32FileSystemTest, FailedReplaceLeavesNothingBehind) {
    EXPECT_FALSE(fs_.ReplaceContents(PathOf("missing\\Tessera.FIC"), "x"));
    ASSERT_TRUE(fs_.MakeDirectory(PathOf("folder")));
    EXPECT_FALSE(fs_.ReplaceContents(PathOf("folder"), "x"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"folder"});
    EXPECT_TRUE(fsys::is_empty(PathOf("folder")));
    EXPECT_EQ(fs_.ReadAll(PathOf("missing.FIC")), std::nullopt);
}

TEST_F(Win32FileSystemTest, PlainFilesSkipFoldersHiddenAndSystemFiles) {
    for (const char* name : {"Image_001.bmp", "hidden.txt", "system.txt"})
        ASSERT_TRUE(fs_.ReplaceContents(PathOf(name), "x"));
    ASSERT_TRUE(::SetFileAttributesA(PathOf("hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesA(PathOf("system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(fs_.MakeDirectory(PathOf("Texte_002.txt")));
    EXPECT_EQ(fs_.ListPlainFiles(dir_ + "\\"), std::vector<std::string>{"Image_001.bmp"});
    EXPECT_FALSE(fs_.FileExists(PathOf("Texte_002.txt")));
    EXPECT_TRUE(fs_.RemoveFile(PathOf("missing\\Image_001.bmp")));
}

// The watch names every change made before it is asked, the program's own and another's, and
// says it does not know when the folder it watched was replaced.
TEST_F(Win32FileSystemTest, FolderWatchNamesWhatChangedBeforeItWasAsked) {
    for (const char* name : {"Texte_001.txt", "Texte_002.txt", "Image_003.bmp"})
        ASSERT_TRUE(fs_.ReplaceContents(PathOf(name), "x"));
    const std::unique_ptr<FolderWatch> watch = fs_.WatchFolder(dir_);
    ASSERT_TRUE(watch);
    EXPECT_TRUE(watch->TakeChanges().unknown) << "the first answer: nothing is known yet";
    const FolderChanges none = watch->TakeChanges();
    EXPECT_FALSE(none.unknown);
    EXPECT_TRUE(none.changes.empty());

    ASSERT_EQ(fs_.CreateNewFile(PathOf("Texte_004.txt"), "x"), NewFileResult::Created);
    ASSERT_TRUE(::DeleteFileA(PathOf("Texte_001.txt").c_str()));
    ASSERT_TRUE(::MoveFileA(PathOf("Image_003.bmp").c_str(), PathOf("IMAGE_005.BMP").c_str()));
    ASSERT_TRUE(::CreateDirectoryA(PathOf("Texte_006.txt").c_str(), nullptr));
    FolderChanges changes = watch->TakeChanges();
    ASSERT_FALSE(changes.unknown);
    std::vector<std::string> said;
    for (const NameChange& change : changes.changes) said.push_back((change.present ? "+" : "-") + change.name);
    EXPECT_EQ(said, (std::vector<std::string>{"+Texte_004.txt", "-Texte_001.txt", "-Image_003.bmp", "+IMAGE_005.BMP"}))
        << "in order, and a folder is no file";
    ASSERT_TRUE(::RemoveDirectoryA(PathOf("Texte_006.txt").c_str()));

    // A store drops the rows of files gone behind its back, also while it listed the folder in
    // the background after start-up, and after its own deletions.
    ClipStore store(fs_, dir_, PathOf("Tessera.FIC"));
    store.Load();
    ClipIndex& grid = ClipStoreProbe::Grid(store);
    ASSERT_TRUE(::DeleteFileA(PathOf("Texte_002.txt").c_str()));
    grid = ClipIndex{};
    for (const char* name : {"Texte_002.txt", "Texte_004.txt", "IMAGE_005.bmp"}) grid.AppendItem("x", name);
    store.DropStaleRows();
    ASSERT_EQ(grid.RowCount(), 2);
    store.RemoveItem(0);
    grid.AppendItem("x", "Texte_004.txt");
    store.DropStaleRows();
    ASSERT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.FileName(0), "IMAGE_005.bmp");

    const std::string moved = dir_ + "-moved";
    ASSERT_TRUE(::MoveFileA(dir_.c_str(), moved.c_str()));
    ASSERT_TRUE(::CreateDirectoryA(dir_.c_str(), nullptr));
    EXPECT_TRUE(watch->TakeChanges().unknown) << "another folder under the same name";
    ASSERT_TRUE(fs_.ReplaceContents(PathOf("Texte_006.txt"), "x"));
    changes = watch->TakeChanges();
    EXPECT_FALSE(changes.unknown) << "the new folder is watched";
    ASSERT_FALSE(changes.changes.empty());
    EXPECT_EQ(changes.changes.back().name, "Texte_006.txt");
    std::error_code ignored;
    fsys::remove_all(moved, ignored);
}

// This program starts itself as a child that saves two indexes in turn, and terminates it at a
// random moment once it has saved at least once, a number of times. After each kill the file must
// hold one whole index, and at most one temporary file (the save in flight) may be left; the
// test removes it before the next round, so that a leak would show as a second one.
TEST_F(Win32FileSystemTest, TerminatedSavesLeaveTheOldOrTheNewFileWhole) {
    const std::string path = PathOf("Tessera.FIC");
    const std::string first = LargeIndex("First_", 20000);
    std::mt19937 random(20240611);
    for (int round = 0; round < 16; ++round) {
        ASSERT_TRUE(fs_.ReplaceContents(path, first));
        win::unique_handle process = StartChild(kChildFlag, path);
        ASSERT_TRUE(process);

        // A process takes a while to start: wait for the child's first save.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (fs_.ReadAll(path) == first && std::chrono::steady_clock::now() < giveUp) ::Sleep(5);
        ::Sleep(random() % 50);
        ::TerminateProcess(process.get(), 1);
        ASSERT_EQ(::WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);

        const auto content = fs_.ReadAll(path);
        ASSERT_TRUE(content == SavedByTheChild(0) || content == SavedByTheChild(1)) << "round " << round;
        std::vector<std::string> strays = Entries();
        std::erase(strays, "Tessera.FIC");
        ASSERT_LE(strays.size(), 1u) << "round " << round;
        for (const auto& name : strays) {
            ::SetFileAttributesA(PathOf(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            fs_.RemoveFile(PathOf(name));
        }
    }
}

// A second Tessera on the folder is refused and told who has it; a Tessera that was killed (a
// crash, a power cut) leaves nothing that stops the next start, nor does a lock file left behind.
TEST_F(Win32FileSystemTest, TheStoreIsClaimedByOneProcessUntilItEnds) {
    const std::string storeDir = PathOf("Clipboard");
    win::unique_handle holder = StartChild(kLockChildFlag, storeDir);
    ASSERT_TRUE(holder);
    // A process takes a while to start: wait for the child's lock and its folder.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs_.DirectoryExists(storeDir) && std::chrono::steady_clock::now() < giveUp) ::Sleep(20);
    ClipStore second(fs_, storeDir, PathOf("Tessera.FIC"));
    const ClipStore::Claim claim = second.Open({"HERE", 1});
    ASSERT_EQ(claim.outcome, ClipStore::Claim::Outcome::UsedHere);
    EXPECT_EQ(claim.user.process, ::GetProcessId(holder.get()));

    ::TerminateProcess(holder.get(), 1);
    ASSERT_EQ(::WaitForSingleObject(holder.get(), 30000), WAIT_OBJECT_0);
    {
        ClipStore third(fs_, storeDir, PathOf("Tessera.FIC"));
        EXPECT_EQ(third.Open({"HERE", 3}).outcome, ClipStore::Claim::Outcome::Ours);
    }
    ASSERT_TRUE(fs_.ReplaceContents(storeDir + ".lock", DescribeStoreUser({"OTHER", 7})));
    ClipStore fourth(fs_, storeDir, PathOf("Tessera.FIC"));
    EXPECT_EQ(fourth.Open({"HERE", 4}).outcome, ClipStore::Claim::Outcome::Ours) << "a file nobody holds";
}

}  // namespace
}  // namespace tessera
