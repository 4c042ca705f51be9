// The store folder's creation and the clip index as the program finds it at start-up.
#include <gtest/gtest.h>

#include "../support/memory_file_system.h"
#include "app/program_paths.h"
#include "store/index_file.h"
#include "store/index_startup.h"
#include "store/store_folder.h"

namespace tessera {
namespace {

using testing::MemoryFileSystem;

TEST(ProgramPaths, AreDerivedFromTheExecutablesPath) {
    const ProgramPaths p = ComputeProgramPaths("C:\\Program Files\\v1.2\\Tessera.exe");
    EXPECT_EQ(p.exeDir, "C:\\Program Files\\v1.2\\");
    EXPECT_EQ(p.iniFileName, "C:\\Program Files\\v1.2\\Tessera.INI");
    EXPECT_EQ(p.indexFileName, "C:\\Program Files\\v1.2\\Tessera.FIC");
    EXPECT_EQ(p.storeDir, "C:\\Program Files\\v1.2\\Clipboard");
    // A dot in a folder name is no extension.
    EXPECT_EQ(ChangeFileExt("C:\\v1.2\\Tessera", ".INI"), "C:\\v1.2\\Tessera.INI");
    EXPECT_EQ(ChangeFileExt("C:\\a\\b.tar.gz", ".FIC"), "C:\\a\\b.tar.FIC");
}

TEST(ForceDirectories, CreatesMissingParentsFirstAndStopsAtWhatExists) {
    MemoryFileSystem fs;
    fs.folders = {"C:\\Users"};
    ForceDirectories(fs, "C:\\Users\\me\\Tessera\\Clipboard\\");
    EXPECT_EQ(fs.madeFolders, (std::vector<std::string>{"C:\\Users\\me", "C:\\Users\\me\\Tessera",
                                                        "C:\\Users\\me\\Tessera\\Clipboard"}));

    fs.madeFolders.clear();
    ForceDirectories(fs, "C:\\Users\\me\\Tessera\\Clipboard");
    EXPECT_TRUE(fs.madeFolders.empty()) << "an existing folder is left alone";

    // A drive with no folders known: the climb stops at "C:" without trying to make it.
    MemoryFileSystem bare;
    ForceDirectories(bare, "C:\\x");
    EXPECT_EQ(bare.madeFolders, (std::vector<std::string>{"C:\\x"}));
}

class IndexAtStart : public ::testing::Test {
protected:
    void SetUp() override {
        fs.folders = {"C:\\T\\Clipboard"};
        for (const char* path : {"C:\\T\\Clipboard\\texte_003.txt", "C:\\T\\Clipboard\\Image_001.bmp",
                                 "C:\\T\\Clipboard\\Clipart_002.wmf", "C:\\T\\Clipboard\\a.b.emf"})
            fs.files[path] = "x";
    }
    MemoryFileSystem fs;
    ClipIndex index;
    const std::string indexPath = "C:\\T\\Tessera.FIC";
    const std::string store = "C:\\T\\Clipboard";
};

TEST_F(IndexAtStart, WithoutAnIndexFileTheFolderIsListedIgnoringCase) {
    const IndexStartup s = LoadIndexAtStart(fs, indexPath, store, index);
    EXPECT_FALSE(s.loadError);
    ASSERT_EQ(s.files.size(), 4u);
    ASSERT_EQ(index.RowCount(), 4);
    const char* expected[][2] = {{"a.b", "a.b.emf"},
                                 {"Clipart_002", "Clipart_002.wmf"},
                                 {"Image_001", "Image_001.bmp"},
                                 {"texte_003", "texte_003.txt"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(index.GetCell(0, i), expected[i][0]);
        EXPECT_EQ(index.GetCell(1, i), expected[i][1]);
    }
}

TEST_F(IndexAtStart, AnIndexFileIsLoadedAsItStands) {
    ClipIndex saved;
    saved.AppendItem("Mon image", "Image_001.bmp");
    fs.files[indexPath] = EncodeIndexFile(saved);
    const IndexStartup s = LoadIndexAtStart(fs, indexPath, store, index);
    EXPECT_FALSE(s.loadError);
    EXPECT_TRUE(s.files.empty()) << "the folder is not listed";
    EXPECT_EQ(index.RowCount(), 1);
    EXPECT_EQ(index.GetCell(0, 0), "Mon image");
}

TEST_F(IndexAtStart, AnUnreadableIndexIsReportedAndTheItemsAreListedFromTheFolder) {
    fs.files[indexPath] = "2,1\r\n";
    fs.unreadable.insert(indexPath);
    const IndexStartup s = LoadIndexAtStart(fs, indexPath, store, index);
    ASSERT_TRUE(s.loadError);
    EXPECT_EQ(*s.loadError, "Cannot open file " + indexPath);
    EXPECT_EQ(index.RowCount(), 4) << "no item is lost from view";
}

// Seen by users: an index emptied item by item was never written, so its rows came back.
TEST_F(IndexAtStart, AnIndexTheUserEmptiedDoesNotComeBack) {
    fs.files.clear();
    ClipIndex shown;
    shown.AppendItem("Image_001", "Image_001.bmp");
    fs.files[store + "\\Image_001.bmp"] = "b";
    SaveIndex(fs, shown, indexPath);
    ASSERT_EQ(fs.files.count(indexPath), 1u);

    fs.RemoveFile(store + "\\Image_001.bmp");  // the chooser deletes the last item
    shown.RemoveRow(0);
    SaveIndex(fs, shown, indexPath);
    EXPECT_EQ(fs.files.count(indexPath), 0u);
    LoadIndexAtStart(fs, indexPath, store, index);
    EXPECT_TRUE(index.IsEmpty());
}

TEST_F(IndexAtStart, AnEmptyFolderGivesTheEmptyIndex) {
    fs.files.clear();
    LoadIndexAtStart(fs, indexPath, store, index);
    EXPECT_TRUE(index.IsEmpty());
}

}  // namespace
}  // namespace tessera
