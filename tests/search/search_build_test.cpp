#include "search/search_build.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "search/search_index.h"

namespace tessera {
namespace {

// Item files in memory; counts the reads. Shared by the build's thread and the test's only
// through the build's calls.
class MemoryItemFiles : public ItemFiles {
public:
    struct File {
        std::string bytes;
        FileStamp stamp;
    };
    std::map<std::string, File> files;
    std::vector<std::string> reads;

    std::optional<FileStamp> Stamp(const std::string& name) override {
        const auto it = files.find(name);
        return it == files.end() ? std::nullopt : std::optional<FileStamp>(it->second.stamp);
    }
    std::optional<std::string> Read(const std::string& name) override {
        reads.push_back(name);
        const auto it = files.find(name);
        return it == files.end() ? std::nullopt : std::optional<std::string>(it->second.bytes);
    }
    void Write(const std::string& name, const std::string& text, std::int64_t time) {
        files[name] = File{"{\\rtf1\\ansi " + text + "\\par}", FileStamp{text.size(), time}};
    }
};

// Whether `word` finds the item in what the build made.
bool Finds(const std::shared_ptr<const ItemTexts>& texts, const std::string& fileName, const std::string& word) {
    SearchIndex index;
    index.Add(fileName, "");
    index.AdoptTexts(texts);
    return index.Search(word).Count() == 1;
}

TEST(SearchBuild, ReadsOnlyTheFilesTheCacheDoesNotHoldAsTheyAre) {
    MemoryItemFiles disk;
    std::vector<BuildItem> items;
    for (int i = 1; i <= 4; ++i) {
        items.push_back({"Texte_00" + std::to_string(i) + ".txt", true});
        disk.Write(items.back().fileName, "d\\'e9part num" + std::to_string(i), 100);
    }
    items.push_back({"Image_005.bmp", false});
    disk.files["Image_005.bmp"] = {"BM", {2, 100}};

    const SearchBuildResult first = BuildSearchTexts(items, "", disk);
    EXPECT_EQ(disk.reads.size(), 4u);
    EXPECT_TRUE(first.cacheChanged);
    const std::string& cache = first.texts->CacheBytes();
    EXPECT_TRUE(Finds(first.texts, "Texte_003.txt", "depart num3"));

    // Nothing changed: nothing read, and no new cache to write.
    disk.reads.clear();
    const SearchBuildResult again = BuildSearchTexts(items, cache, disk);
    EXPECT_TRUE(disk.reads.empty());
    EXPECT_FALSE(again.cacheChanged);
    EXPECT_EQ(again.texts->Count(), 4u);

    // A file changed by hand (its time only, or its size) is read again; an item gone is dropped.
    disk.Write("Texte_002.txt", "edited", 100);
    disk.Write("Texte_003.txt", "touched", 101);
    items.erase(items.begin());
    const SearchBuildResult next = BuildSearchTexts(items, cache, disk);
    EXPECT_EQ(disk.reads, (std::vector<std::string>{"Texte_002.txt", "Texte_003.txt"}));
    EXPECT_EQ(next.texts->Count(), 3u);
    EXPECT_TRUE(Finds(next.texts, "Texte_002.txt", "edited"));
    EXPECT_FALSE(Finds(next.texts, "Texte_002.txt", "depart"));
    EXPECT_TRUE(Finds(next.texts, "Texte_004.txt", "num4"));
    EXPECT_FALSE(Finds(next.texts, "Texte_001.txt", "num1"));
    const auto decoded = DecodeSearchCache(next.texts->CacheBytes());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Summary(2), "touched");  // after the one kept from the cache and Texte_002
}

TEST(SearchBuild, ADamagedOrForeignCacheIsMadeAgain) {
    MemoryItemFiles disk;
    disk.Write("Texte_001.txt", "bonjour", 1);
    const std::vector<BuildItem> items = {{"Texte_001.txt", true}};
    const std::string good = BuildSearchTexts(items, "", disk).texts->CacheBytes();

    std::vector<std::string> bad = {good.substr(0, good.size() - 1), good + "x", "{\\rtf1 not a cache}"};
    for (std::size_t at : {std::size_t{9}, good.size() / 2, good.size() - 1}) {
        bad.push_back(good);
        bad.back()[at] ^= 0x20;  // at 9: the version
    }
    for (const std::string& bytes : bad) {
        EXPECT_FALSE(DecodeSearchCache(bytes));
        disk.reads.clear();
        const SearchBuildResult result = BuildSearchTexts(items, bytes, disk);
        EXPECT_EQ(disk.reads.size(), 1u);
        EXPECT_TRUE(result.cacheChanged);
        EXPECT_EQ(result.texts->CacheBytes(), good);
    }
    // A store without text items has a cache too.
    const auto none = DecodeSearchCache(BuildSearchTexts({}, "", disk).texts->CacheBytes());
    ASSERT_TRUE(none);
    EXPECT_EQ(none->Count(), 0u);
}

TEST(SearchBuild, HandsOverToTheGuiThreadAsItGoes) {
    MemoryItemFiles disk;
    std::vector<BuildItem> items;
    for (int i = 0; i < 2000; ++i) {
        items.push_back({"Texte_" + std::to_string(i) + ".txt", true});
        std::string text = "item" + std::to_string(i);
        for (int k = 0; k < 60; ++k) text += " w" + std::to_string(i * 60 + k);
        disk.Write(items.back().fileName, text, 1);
    }
    std::mutex mutex;
    std::condition_variable posted;
    int notes = 0;
    SearchFeed feed([&] {
        const std::lock_guard<std::mutex> lock(mutex);
        ++notes;
        posted.notify_one();
    });
    SearchIndex index;
    for (const auto& item : items) index.Add(item.fileName, "");
    std::thread build([&] { BuildSearchTexts(items, "", disk, &feed); });

    int handOvers = 0;
    for (bool last = false; !last;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            posted.wait(lock, [&] { return notes > 0; });
            notes = 0;
        }
        while (auto update = feed.Take()) {
            index.AdoptTexts(update->texts);
            last = update->last;
            ++handOvers;
            EXPECT_LE(index.Search("item").Count(), 2000u);
        }
    }
    build.join();
    EXPECT_GT(handOvers, 1);
    EXPECT_EQ(index.Search("item").Count(), 2000u);
    EXPECT_EQ(index.Search("w119999").Count(), 1u);
}

}  // namespace
}  // namespace tessera
