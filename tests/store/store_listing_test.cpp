// The one-listing answer to "is this item's file still there" must agree with asking file by file.
#include <gtest/gtest.h>

#include "../support/memory_file_system.h"
#include "store/store_listing.h"

namespace tessera {
namespace {

// Counts the one-by-one questions, to see which names the listing could not answer.
class CountingFileSystem : public testing::MemoryFileSystem {
public:
    int existenceChecks = 0;
    bool FileExists(const std::string& path) override {
        ++existenceChecks;
        return MemoryFileSystem::FileExists(path);
    }
};

TEST(StoreListingTest, AnswersFromOneListingIgnoringCase) {
    CountingFileSystem fs;
    fs.files["S\\Texte_001.txt"] = "";
    fs.files["S\\Image_002.BMP"] = "";
    fs.files["Other\\Texte_009.txt"] = "";
    const StoreListing store(fs, "S");
    EXPECT_TRUE(store.Contains("Texte_001.txt"));
    EXPECT_TRUE(store.Contains("TEXTE_001.TXT"));
    EXPECT_TRUE(store.Contains("image_002.bmp"));
    EXPECT_FALSE(store.Contains("Texte_009.txt")) << "a file of another folder";
    EXPECT_FALSE(store.Contains("Texte_001.tx"));
    EXPECT_EQ(fs.existenceChecks, 0);
}

TEST(StoreListingTest, NamesTheListingCannotSettleAreCheckedOneByOne) {
    CountingFileSystem fs;
    fs.files["S\\Texte_001.txt"] = "";
    fs.files["S\\\xC9t\xE9.txt"] = "";  // "Été.txt" in the ANSI code page
    const StoreListing store(fs, "S");
    EXPECT_TRUE(store.Contains("\xC9t\xE9.txt"));
    EXPECT_FALSE(store.Contains("TEXTE_~1.TXT"));
    EXPECT_EQ(fs.existenceChecks, 2);

    // Nothing listed may mean a folder that could not be read: nothing is taken for gone unasked.
    CountingFileSystem unreadable;
    const StoreListing empty(unreadable, "S");
    unreadable.files["S\\Texte_001.txt"] = "";
    EXPECT_TRUE(empty.Contains("Texte_001.txt"));
    EXPECT_EQ(unreadable.existenceChecks, 1);
}

}  // namespace
}  // namespace tessera
