#include "app/profile_file_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace tessera {
namespace {

// A profile file path of its own in the temporary folder, removed at the end of the test.
class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH] = {};
        ASSERT_NE(::GetTempPathA(MAX_PATH, dir), 0u);
        path_ = std::string(dir) + "tessera_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                std::to_string(::GetCurrentProcessId()) + ".ini";
        ::DeleteFileA(path_.c_str());
    }
    void TearDown() override { ::DeleteFileA(path_.c_str()); }

    std::string path_;
};

TEST_F(ProfileFileTest, ReadsMissingAndStoredValuesByTheProgramsRules) {
    ProfileFile file(path_);
    Settings settings = LoadSettings(file, 340, 211);  // no file yet
    EXPECT_TRUE(settings.winStart);
    EXPECT_EQ(settings.left, 340);
    EXPECT_EQ(settings.top, 211);

    std::ofstream(path_, std::ios::binary) << "[Options]\r\nWinStart=yes\r\n[MainW]\r\nx=0x64\r\ny=abc\r\nempty=\r\n"
                                           << "long=" << std::string(3000, 'a') << "\r\n";
    ProfileFile stored(path_);
    settings = LoadSettings(stored, 340, 211);
    EXPECT_TRUE(settings.winStart);
    EXPECT_EQ(settings.left, 100);
    EXPECT_EQ(settings.top, 211);
    EXPECT_EQ(stored.ReadString("MainW", "empty"), std::string());  // present but empty is not missing
    EXPECT_EQ(stored.ReadString("MainW", "z"), std::nullopt);
    EXPECT_EQ(stored.ReadString("MainW", "long"), std::string(kMaxProfileValueLength, 'a'));
}

TEST_F(ProfileFileTest, SavedSettingsLoadBackAndReplaceTheOldValues) {
    ProfileFile file(path_);
    SaveSettings(file, Settings{false, -5000, 35});
    SaveSettings(file, Settings{false, -300, 40});

    std::ifstream in(path_, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find("WinStart=0"), std::string::npos) << text;
    EXPECT_NE(text.find("x=-300"), std::string::npos) << text;
    EXPECT_EQ(text.find("-5000"), std::string::npos) << text;

    Settings loaded = LoadSettings(file, 1, 2);
    EXPECT_FALSE(loaded.winStart);
    EXPECT_EQ(loaded.left, -300);
    EXPECT_EQ(loaded.top, 40);
}

TEST_F(ProfileFileTest, SavingIntoAMissingFolderFailsWithThePath) {
    ProfileFile file(path_ + ".missing\\TESSERA.INI");
    try {
        SaveSettings(file, Settings{true, 1, 2});
        FAIL() << "no error for a folder that does not exist";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(file.Path()), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tessera
