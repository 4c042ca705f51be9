// The search beside the store: current after every change the store makes, its texts read in the
// background while the user goes on capturing and editing.
#include "search/item_search.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>

#include "../support/memory_file_system.h"
#include "store/index_file.h"

namespace tessera {
namespace {

const std::string kStore = "C:\\T\\Clipboard";

struct TextOnClipboard : ClipboardFormats, ClipWriter {
    std::string text;
    bool IsAvailable(unsigned format) const override { return format == kFormatText; }
    ClipFileContent Read(ClipKind) override { return {ClipFileContent::Status::Ready, "{\\rtf1\\ansi " + text + "}"}; }
};

// The item files as the build reads them, on its own thread: a copy, and a gate that holds the
// first read until the test opens it.
struct GatedFiles : ItemFiles {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::map<std::string, std::string> files;
    int reads = 0;
    std::optional<FileStamp> Stamp(const std::string& name) override {
        const std::lock_guard<std::mutex> lock(mutex);
        return files.count(name) ? std::optional<FileStamp>(FileStamp{files[name].size(), 1}) : std::nullopt;
    }
    std::optional<std::string> Read(const std::string& name) override {
        std::unique_lock<std::mutex> lock(mutex);
        opened.wait(lock, [this] { return open; });
        ++reads;
        return files[name];
    }
};

struct ItemSearchTest : ::testing::Test {
    testing::MemoryFileSystem fs;
    ClipStore store{fs, kStore, "C:\\T\\Tessera.FIC"};
    TextOnClipboard clipboard;
    void SetUp() override { fs.folders = {"C:\\T", kStore}; }
    void Capture(const std::string& text) {
        clipboard.text = text;
        store.Capture(clipboard, clipboard, "Texte");
    }
    static std::size_t Found(const ItemSearch& search, std::string_view query) {
        return search.Index().Search(query).Count();
    }
};

TEST_F(ItemSearchTest, FollowsEveryChangeOfTheStore) {
    Capture("avant");
    ItemSearch search(store, [](std::string_view name) { return "UTF-8 " + std::string(name); });
    Capture("d\\'e9part");
    EXPECT_EQ(Found(search, "depart"), 1u) << "a capture's text";
    store.Rename(0, "Recette \xE9t\xE9");
    EXPECT_EQ(Found(search, "utf"), 1u) << "names reach the index in UTF-8";
    EXPECT_EQ(Found(search, "Texte_001"), 0u);
    EXPECT_EQ(Found(search, "ette"), 0u) << "words are found by their beginnings";
    EXPECT_TRUE(store.ReplaceItemFile("Texte_002.txt", "{\\rtf1 retour}"));
    EXPECT_EQ(Found(search, "retour"), 1u);
    EXPECT_EQ(Found(search, "depart"), 0u) << "an edit replaces the text";
    store.RemoveItem(1);
    EXPECT_EQ(Found(search, "retour"), 0u);
    fs.files.erase(kStore + "\\Texte_001.txt");
    store.DropStaleRows();
    EXPECT_EQ(Found(search, ""), 0u) << "a file gone by hand";
    Capture("un");
    Capture("deux");
    store.Clear();
    EXPECT_EQ(Found(search, ""), 0u);
    Capture("trois");
    EXPECT_EQ(Found(search, "trois"), 1u);
}

// The texts arrive from the build's thread; what the user changed meanwhile is not undone by them.
TEST_F(ItemSearchTest, TextsReadInTheBackgroundKeepTheChangesMadeMeanwhile) {
    ClipIndex saved;
    GatedFiles disk;
    for (const char* name : {"Texte_001.txt", "Texte_002.txt", "Image_001.bmp"}) {
        saved.AppendItem(std::string(name).substr(0, 9), name);
        fs.files[kStore + "\\" + name] = disk.files[name] = std::string("{\\rtf1 ancien ") + name + "}";
    }
    fs.files["C:\\T\\Tessera.FIC"] = EncodeIndexFile(saved);
    store.Load();
    testing::MemoryFileSystem cacheFs;
    ItemSearch search(store, nullptr);
    search.StartBuild(disk, cacheFs, "C:\\T\\Tessera.SCH", [] {});
    EXPECT_TRUE(search.Reading());
    EXPECT_EQ(Found(search, "texte_002"), 1u) << "names are searched at once";
    EXPECT_TRUE(store.ReplaceItemFile("Texte_002.txt", "{\\rtf1 nouveau}"));
    Capture("pendant");
    {
        const std::lock_guard<std::mutex> lock(disk.mutex);
        disk.open = true;
    }
    disk.opened.notify_all();
    search.WaitForBuild();
    search.TakeTexts();
    EXPECT_FALSE(search.Reading());
    EXPECT_EQ(Found(search, "ancien"), 1u) << "only Texte_001 keeps the text read in the background";
    EXPECT_EQ(Found(search, "nouveau pendant"), 0u);
    EXPECT_EQ(Found(search, "nouveau"), 1u);
    EXPECT_EQ(Found(search, "pendant"), 1u);

    // The next start reads the cache, and no file.
    ItemSearch next(store, nullptr);
    disk.reads = 0;
    next.StartBuild(disk, cacheFs, "C:\\T\\Tessera.SCH", [] {});
    next.WaitForBuild();
    next.TakeTexts();
    EXPECT_EQ(disk.reads, 0);
    EXPECT_EQ(Found(next, "ancien"), 2u);
}

}  // namespace
}  // namespace tessera
