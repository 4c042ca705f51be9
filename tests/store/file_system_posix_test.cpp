#include "store/disk_file_system.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "../support/folder_entries.h"
#include "store/index_file.h"

namespace tessera {
namespace {

namespace fsys = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fsys::temp_directory_path() / "tessera-store-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fsys::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    std::vector<std::string> Entries() const { return testing::FolderEntries(dir_); }

    fsys::path dir_;
    DiskFileSystem fs_;
};

TEST_F(PosixFileSystemTest, ReplaceContentsKeepsModeAndLinks) {
    const std::string path = PathOf("Tessera.FIC");
    ASSERT_TRUE(fs_.ReplaceContents(path, "old content, rather longer than the new"));
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(::link(path.c_str(), PathOf("other name").c_str()), 0);
    ASSERT_EQ(::symlink("Tessera.FIC", PathOf("link").c_str()), 0);

    // Several hard links: the file is rewritten in place, so every name sees the new content.
    ASSERT_TRUE(fs_.ReplaceContents(path, std::string("new\0", 4)));
    EXPECT_EQ(fs_.ReadAll(PathOf("other name")), std::string("new\0", 4));
    ASSERT_TRUE(fs_.RemoveFile(PathOf("other name")));
    // One link: the file is replaced, keeping its mode; a symbolic link stays a link.
    ASSERT_TRUE(fs_.ReplaceContents(PathOf("link"), "through the link"));
    EXPECT_EQ(fs_.ReadAll(path), "through the link");
    EXPECT_TRUE(fsys::is_symlink(PathOf("link")));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Tessera.FIC", "link"}));
}

TEST_F(PosixFileSystemTest, FailuresLeaveNothingBehindAndNameThePath) {
    ClipIndex index;
    index.AppendItem("Image_001", "Image_001.bmp");
    const std::string missing = PathOf("missing/Tessera.FIC");
    try {
        SaveIndexFile(fs_, index, missing);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), "Cannot Create " + missing);
    }
    try {
        LoadIndexFile(fs_, index, missing);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), "Cannot open file " + missing);
    }
    EXPECT_EQ(index.GetCell(1, 0), "Image_001.bmp");

    ASSERT_TRUE(fs_.MakeDirectory(PathOf("folder")));
    EXPECT_FALSE(fs_.ReplaceContents(PathOf("folder"), "x"));
    EXPECT_EQ(fs_.ReadAll(PathOf("folder")), std::nullopt);
    EXPECT_EQ(Entries(), std::vector<std::string>{"folder"});
    EXPECT_TRUE(fsys::is_empty(PathOf("folder")));
}

TEST_F(PosixFileSystemTest, PlainFilesAreVisibleRegularFiles) {
    ASSERT_TRUE(fs_.ReplaceContents(PathOf("Image_001.bmp"), "b"));
    ASSERT_TRUE(fs_.ReplaceContents(PathOf(".hidden"), "h"));
    ASSERT_TRUE(fs_.MakeDirectory(PathOf("Texte_002.txt")));
    EXPECT_EQ(fs_.ListPlainFiles(dir_.string()), std::vector<std::string>{"Image_001.bmp"});
    EXPECT_FALSE(fs_.FileExists(PathOf("Texte_002.txt")));
    EXPECT_TRUE(fs_.RemoveFile(PathOf("Image_001.bmp")));
    EXPECT_TRUE(fs_.RemoveFile(PathOf("Image_001.bmp")));  // already gone
}

std::string LargeIndex(const std::string& stem, int rows) {
    ClipIndex index;
    for (int i = 0; i < rows; ++i) index.AppendItem(stem + std::to_string(i), stem + std::to_string(i) + ".bmp");
    return EncodeIndexFile(index);
}

// A child saves two indexes in turn, as fast as it can, and is killed at a random moment, many
// times. After each kill the file must hold one whole index (the first one, or either of the
// child's), and at most one temporary file may be left: the one the save in flight was writing.
// The test removes it before the next round, so that a leak would show as a second one.
TEST_F(PosixFileSystemTest, KilledSavesLeaveTheOldOrTheNewFileWhole) {
    const std::string path = PathOf("Tessera.FIC");
    const std::string first = LargeIndex("First_", 20000);
    const std::string saved[] = {LargeIndex("Image_", 30000), LargeIndex("Texte_", 25000)};
    ASSERT_TRUE(fs_.ReplaceContents(path, first));

    std::mt19937 random(20240611);
    int changed = 0;
    for (int round = 0; round < 60; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            for (unsigned i = 0; std::chrono::steady_clock::now() < stop; ++i) fs_.ReplaceContents(path, saved[i % 2]);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);

        const auto content = fs_.ReadAll(path);
        ASSERT_TRUE(content == first || content == saved[0] || content == saved[1]) << "round " << round;
        changed += content != first;
        std::vector<std::string> strays = Entries();
        std::erase(strays, "Tessera.FIC");
        ASSERT_LE(strays.size(), 1u) << "round " << round;
        for (const auto& name : strays) fs_.RemoveFile(PathOf(name));
    }
    EXPECT_GT(changed, 0) << "the child never finished a save";
}

}  // namespace
}  // namespace tessera
