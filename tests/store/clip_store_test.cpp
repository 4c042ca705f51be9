// The store's life: claimed by one Tessera, every change on disk at once, nothing lost to a crash
// or to a folder that went away for a while.
#include "store/clip_store.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "../support/index_rows.h"
#include "../support/memory_file_system.h"
#include "store/index_file.h"

namespace tessera {
namespace {

using testing::Rows;
using testing::RowsOf;

const std::string kStore = "C:\\T\\Clipboard";
const std::string kIndex = "C:\\T\\Tessera.FIC";

struct Formats : ClipboardFormats {
    bool IsAvailable(unsigned format) const override { return format == kFormatText; }
};
struct Writer : ClipWriter {
    ClipFileContent Read(ClipKind) override { return {ClipFileContent::Status::Ready, "{\\rtf1 x}"}; }
};

struct StoreTest : ::testing::Test {
    testing::MemoryFileSystem fs;
    ClipStore store{fs, kStore, kIndex};
    Formats formats;
    Writer writer;

    void SetUp() override { fs.folders = {"C:\\T", kStore}; }
    // What the index file on disk lists.
    Rows OnDisk() {
        ClipIndex read;
        if (fs.files.count(kIndex)) DecodeIndexFile(fs.files[kIndex], read);
        return RowsOf(read);
    }
    Rows Listed() {
        Rows rows;
        for (int row = 0; row < store.ItemCount(); ++row)
            rows.emplace_back(store.DisplayName(row), store.FileName(row));
        return rows;
    }
    void SaveIndex(const Rows& rows) {
        ClipIndex index;
        for (const auto& [name, file] : rows) index.AppendItem(name, file);
        fs.files[kIndex] = EncodeIndexFile(index);
    }
};

// Seen by users: the index file was written only when the chooser closed or the program quit, so
// a crash lost the list of every capture made since.
TEST_F(StoreTest, EveryChangeIsOnDiskAtOnce) {
    ASSERT_EQ(store.Open({"PC", 1}).outcome, ClipStore::Claim::Outcome::Ours);
    store.Load();
    store.Capture(formats, writer, "Texte");
    store.Capture(formats, writer, "Texte");
    EXPECT_EQ(OnDisk(), (Rows{{"Texte_001", "Texte_001.txt"}, {"Texte_002", "Texte_002.txt"}}));
    store.Rename(1, "Adresse");
    EXPECT_EQ(OnDisk(), Listed());
    store.RemoveItem(0);
    EXPECT_EQ(OnDisk(), (Rows{{"Adresse", "Texte_002.txt"}}));
    fs.files.erase(kStore + "\\Texte_002.txt");
    store.DropStaleRows();
    EXPECT_EQ(fs.files.count(kIndex), 0u) << "an emptied store leaves no index to bring its rows back";
}

// A damaged index claiming two billion rows: the list and the search walk the rows one by one.
TEST_F(StoreTest, RowsNamingNoFileAreGoneAtLoad) {
    fs.files[kIndex] = "2,2000000000\r\n0,0,Premier\r\n1,0,Texte_001.txt\r\n";
    fs.files[kStore + "\\Texte_001.txt"] = "x";
    store.Load();
    ASSERT_EQ(store.ItemCount(), 1);
    EXPECT_EQ(Listed(), (Rows{{"Premier", "Texte_001.txt"}}));
}

// A crash between a capture's file and the index's write, or files put there by hand: they follow
// the named items in the order of their numbers, and the next capture gets a number of its own.
TEST_F(StoreTest, FilesNoRowNamesBecomeItemsAfterTheOthers) {
    SaveIndex({{"Mon adresse", "Texte_001.txt"}});
    for (const char* name : {"Texte_001.txt", "Texte_010.txt", "Image_002.bmp", "texte_003.TXT", "notes.txt"})
        fs.files[kStore + "\\" + name] = "x";
    fs.files[kStore + "\\desktop.ini"] = "hidden";
    fs.hidden.insert(kStore + "\\desktop.ini");
    store.Load();
    store.DropStaleRows();  // the chooser's first showing
    EXPECT_EQ(Listed(), (Rows{{"Mon adresse", "Texte_001.txt"},
                              {"Image_002", "Image_002.bmp"},
                              {"texte_003", "texte_003.TXT"},
                              {"Texte_010", "Texte_010.txt"},
                              {"notes", "notes.txt"}}));
    EXPECT_EQ(OnDisk(), Listed());
    EXPECT_EQ(store.Capture(formats, writer, "Texte"), "Texte_011");
}

TEST_F(StoreTest, OneTesseraClaimsTheStoreAndAnotherTouchesNothing) {
    fs.folders = {"C:\\T"};
    fs.locks[store.LockFileName()] = DescribeStoreUser({"BUREAU-2", 4321});
    const ClipStore::Claim elsewhere = store.Open({"PORTABLE", 99});
    EXPECT_EQ(elsewhere.outcome, ClipStore::Claim::Outcome::UsedElsewhere);
    EXPECT_EQ(elsewhere.user.computer, "BUREAU-2");
    EXPECT_TRUE(fs.madeFolders.empty()) << "nothing is written";

    const ClipStore::Claim here = store.Open({"bureau-2", 99});
    EXPECT_EQ(here.outcome, ClipStore::Claim::Outcome::UsedHere);
    EXPECT_EQ(here.user.process, 4321u);

    fs.locks.clear();  // its process ended: the system let go of the lock
    {
        ClipStore mine(fs, kStore, kIndex);
        EXPECT_EQ(mine.Open({"BUREAU-2", 99}).outcome, ClipStore::Claim::Outcome::Ours);
        EXPECT_TRUE(fs.DirectoryExists(kStore));
        EXPECT_EQ(store.Open({"BUREAU-2", 100}).outcome, ClipStore::Claim::Outcome::UsedHere);
    }
    EXPECT_TRUE(fs.locks.empty()) << "released when the store goes";
}

// Seen by users: with the folder moved away, copies were lost without a word and, once it was
// back, the chooser said the store was empty until a restart.
TEST_F(StoreTest, AFolderThatWentAwayKeepsItsItemsAndIsMadeAgainByACapture) {
    SaveIndex({{"a", "Texte_001.txt"}});
    fs.files[kStore + "\\Texte_001.txt"] = "x";
    store.Load();
    fs.folders.erase(kStore);
    fs.files.erase(kStore + "\\Texte_001.txt");
    store.DropStaleRows();
    EXPECT_EQ(store.ItemCount(), 1) << "a missing folder has not lost its files";

    EXPECT_EQ(store.Capture(formats, writer, "Texte"), "Texte_002");
    EXPECT_TRUE(fs.DirectoryExists(kStore));
    EXPECT_EQ(OnDisk(), (Rows{{"a", "Texte_001.txt"}, {"Texte_002", "Texte_002.txt"}}));

    struct NoFolders : testing::MemoryFileSystem {
        bool MakeDirectory(const std::string&) override { return false; }
    } readOnly;
    ClipStore stuck(readOnly, kStore, kIndex);
    EXPECT_THROW(stuck.Capture(formats, writer, "Texte"), CannotCreateError);
}

// Seen by users of other histories: the passwords their password manager copied were kept, and
// a program copying the same text every second filled the history.
TEST_F(StoreTest, ACopyNotAskedForIsFiledUnlessMarkedRepeatedOrChangedWhileRead) {
    struct Copy : ClipboardMarks, ClipWriter {
        std::map<std::string_view, std::optional<std::uint32_t>> marks;
        std::string bytes = "{\\rtf1 a}";
        std::uint32_t changes = 0, changesWhileRead = 0;
        bool Holds(std::string_view name) const override { return marks.count(name) != 0; }
        std::optional<std::uint32_t> Number(std::string_view name) const override { return marks.at(name); }
        std::uint32_t ChangeCount() const override { return changes; }
        ClipFileContent Read(ClipKind) override {
            changes += changesWhileRead;
            return {ClipFileContent::Status::Ready, bytes};
        }
    } copy;
    const auto file = [&] { return store.CaptureCopy(formats, copy, copy, "Texte"); };
    for (const std::string_view mark : {kExcludeFromMonitorFormat, kViewerIgnoreFormat, kCanIncludeInHistoryFormat}) {
        copy.marks = {{mark, 0u}};
        EXPECT_EQ(file(), std::nullopt) << mark;
    }
    copy.marks = {{kCanIncludeInHistoryFormat, std::nullopt}};
    EXPECT_EQ(file(), std::nullopt) << "a mark that cannot be read";
    copy.marks = {{kCanIncludeInHistoryFormat, 1u}};
    EXPECT_EQ(file(), "Texte_001");
    EXPECT_EQ(file(), std::nullopt) << "the newest item again";
    copy.bytes = "{\\rtf1 b}";
    copy.changesWhileRead = 1;
    EXPECT_EQ(file(), std::nullopt) << "changed while read: judged at its own change";
    copy.changesWhileRead = 0;
    EXPECT_EQ(file(), "Texte_002");
    EXPECT_EQ(file(), std::nullopt) << "the newest of two items again";
}

// Writes in the background: the last change wins, a failure is told once and tried again.
TEST(IndexWriterTest, WritesTheNewestContentAndTellsAFailureOnce) {
    struct SharedFiles : testing::MemoryFileSystem {
        std::mutex m;
        int writes = 0;
        bool ReplaceContents(const std::string& path, std::string_view bytes) override {
            std::lock_guard<std::mutex> lock(m);
            ++writes;
            return MemoryFileSystem::ReplaceContents(path, bytes);
        }
        std::string Read(const std::string& path) {
            std::lock_guard<std::mutex> lock(m);
            return files[path];
        }
    } fs;
    int told = 0;
    {
        IndexWriter writer(fs, "I.FIC", IndexWriter::Mode::InBackground);
        writer.OnFailure = [&told] { ++told; };
        for (int i = 0; i < 200; ++i) writer.Request(std::to_string(i));
        EXPECT_EQ(writer.Flush(), std::nullopt);
        EXPECT_EQ(fs.Read("I.FIC"), "199");
        EXPECT_LE(fs.writes, 200);

        {
            std::lock_guard<std::mutex> lock(fs.m);
            fs.refuseWrites = true;
        }
        writer.Request("a");
        EXPECT_EQ(writer.Flush(), "Cannot Create I.FIC");
        writer.Request("b");
        writer.Flush();
        EXPECT_EQ(told, 1) << "once, not at every change";
        {
            std::lock_guard<std::mutex> lock(fs.m);
            fs.refuseWrites = false;
        }
        EXPECT_EQ(writer.Flush(), std::nullopt) << "the failed content is written again";
        EXPECT_EQ(fs.Read("I.FIC"), "b");
        writer.Request("last");
    }
    EXPECT_EQ(fs.files["I.FIC"], "last") << "what is pending is written before the writer ends";
}

}  // namespace
}  // namespace tessera
