#include "search/disk_item_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "store/disk_file_system.h"

namespace tessera {
namespace {

// The build compares the listing's stamps with those of the cache made at the last start: a
// file changed by hand, in its size or only in its time, must show another stamp.
TEST(DiskItemFiles, StampsOfTheListingChangeWithTheFile) {
    char temp[MAX_PATH];
    ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
    const std::string dir = std::string(temp) + "tessera-items-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((dir + "\\sub").c_str(), nullptr));
    const std::string path = dir + "\\Texte_001.txt";
    DiskFileSystem fs;
    ASSERT_TRUE(fs.ReplaceContents(path, "abc"));

    DiskItemFiles files(dir);
    const auto stampOf = [&files]() -> std::optional<FileStamp> {
        const auto listed = files.ListStamps();
        if (!listed || listed->size() != 1 || (*listed)[0].first != "Texte_001.txt") return std::nullopt;
        return (*listed)[0].second;
    };
    const auto first = stampOf();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 3u);
    EXPECT_EQ(files.Stamp("Texte_001.txt"), first);
    EXPECT_EQ(files.Read("Texte_001.txt"), "abc");
    EXPECT_FALSE(files.Stamp("Texte_002.txt"));

    // Same size, another time (an hour earlier).
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ULARGE_INTEGER time;
    time.QuadPart = static_cast<std::uint64_t>(first->time) - 36'000'000'000ull;
    const FILETIME earlier{time.LowPart, time.HighPart};
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &earlier));
    ::CloseHandle(file);
    const auto touched = stampOf();
    ASSERT_TRUE(touched);
    EXPECT_EQ(touched->size, 3u);
    EXPECT_NE(touched->time, first->time);

    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

}  // namespace
}  // namespace tessera
