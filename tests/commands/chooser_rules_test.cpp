#include "commands/chooser_rules.h"

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <string>
#include <vector>

#include "../support/clip_store_probe.h"
#include "../support/index_rows.h"
#include "../support/memory_file_system.h"
#include "lang/word_ids.h"
#include "search/item_search.h"
#include "store/index_file.h"

namespace tessera {
namespace {

using testing::Rows;
using testing::RowsOf;
using Lines = std::vector<std::string>;
using Closes = std::vector<ChooserResult>;

const std::string kStore = "C:\\T\\Clipboard";
std::string InStore(const std::string& name) { return kStore + "\\" + name; }

// A single-selection list box: deleting a line moves the selection with the lines.
struct RecordingView : ChooserView {
    Lines lines, messages, loads;
    int selection = -1;
    char shown = '-';     // 'T'ext, 'P'icture or '-'
    std::string preview;  // file loaded, or "" once emptied
    std::set<std::string> unloadable;
    std::string renameText;
    bool searching = false;
    bool pasteEnabled = false;
    Closes closes;

    void ClearLines() override {
        lines.clear();
        selection = -1;
    }
    void AddLine(const std::string& text) override { lines.push_back(text); }
    void ReplaceLine(int line, const std::string& text) override { lines.at(static_cast<std::size_t>(line)) = text; }
    void DeleteLine(int line) override {
        lines.erase(lines.begin() + line);
        selection = selection == line ? -1 : selection > line ? selection - 1 : selection;
    }
    int LineCount() const override { return static_cast<int>(lines.size()); }
    int Selection() const override { return selection; }
    void SetSelection(int line) override { selection = line; }
    void ShowTextPreview() override { shown = 'T'; }
    void ShowPicturePreview() override { shown = 'P'; }
    void HidePreviews() override { shown = '-'; }
    bool LoadTextPreview(const std::string& fileName) override { return Load(fileName); }
    bool LoadPicturePreview(const std::string& fileName) override { return Load(fileName); }
    void EmptyTextPreview() override { preview.clear(); }
    void EmptyPicturePreview() override { preview.clear(); }
    void SetRenameText(const std::string& text) override { renameText = text; }
    void EmptySearchField() override {}
    void ShowSearching(bool shown) override { searching = shown; }
    void PreviewSoon() override {}
    void EnablePaste(bool enabled) override { pasteEnabled = enabled; }
    void ShowInformation(const std::string& itemName, const std::string& text) override {
        messages.push_back(itemName + text);
    }
    void ShowFolderMissing() override { messages.push_back("folder missing"); }
    std::promise<void> listed;
    std::function<void()> ListingReadyNotice() override {
        return [this] { listed.set_value(); };
    }
    void Close(ChooserResult result) override { closes.push_back(result); }

    bool Load(const std::string& fileName) {
        loads.push_back(fileName);
        preview = unloadable.count(fileName) ? "garbage" : fileName;
        return !unloadable.count(fileName);
    }
};

// The chooser's French texts.
std::string FrenchWord(std::string_view id) {
    if (id == ChooserWords::kMissingFile) return " introuvable.";
    if (id == ChooserWords::kStoreEmptied) return "Presse-papiers interne vidé.";
    return std::string(id);
}

struct ChooserTest : ::testing::Test {
    testing::MemoryFileSystem fs;
    ClipStore store{fs, kStore, "C:\\T\\Tessera.FIC"};
    ClipIndex& index = ClipStoreProbe::Grid(store);
    RecordingView view;
    ChooserCore chooser{store, view, FrenchWord};
    void SetUp() override { fs.folders = {kStore}; }

    // A file is made for each row, except for names starting with '-' (the '-' is dropped).
    void Items(const Rows& rows) {
        for (const auto& [display, file] : rows) {
            const bool gone = !file.empty() && file[0] == '-';
            if (!gone) fs.files[InStore(file)] = "x";
            index.AppendItem(display, gone ? file.substr(1) : file);
        }
    }
    void Select(int line) {
        view.selection = line;
        chooser.SelectionChanged();
    }
};

TEST_F(ChooserTest, ShowingSelectsTheRememberedRowOrElseTheLast) {
    Items({{"a", "A_001.txt"}, {"b", "B_001.bmp"}, {"c", "C_001.emf"}});
    chooser.Show();  // remembered -1 after creation
    EXPECT_EQ(view.lines, (Lines{"a", "b", "c"}));
    EXPECT_EQ(view.selection, 2);
    EXPECT_EQ(view.preview, "C_001.emf");
    EXPECT_EQ(view.renameText, "c");
    EXPECT_TRUE(view.pasteEnabled);

    Select(1);
    chooser.Show();
    EXPECT_EQ(view.selection, 1);

    // Files removed while the chooser was hidden: position 1 is now past the end.
    fs.files.erase(InStore("A_001.txt"));
    fs.files.erase(InStore("B_001.bmp"));
    chooser.Show();
    EXPECT_EQ(view.lines, (Lines{"c"}));
    EXPECT_EQ(view.selection, 0);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ChooserTest, ShowingDropsStaleAndCraftedRowsSilently) {
    fs.files["C:\\T\\x.txt"] = "outside the store";
    Items({{"gone", "-Gone.txt"}, {"a", "A.txt"}, {"up", "..\\x.txt"}, {"dev", "CON"}, {"b", "B.bmp"}, {"", "-"}});
    chooser.Show();
    EXPECT_EQ(RowsOf(index), (Rows{{"a", "A.txt"}, {"b", "B.bmp"}}));
    EXPECT_EQ(view.lines, (Lines{"a", "b"}));
    EXPECT_EQ(view.loads, (Lines{"B.bmp"}));

    fs.files.clear();
    chooser.Show();
    EXPECT_TRUE(index.IsEmpty());
    EXPECT_TRUE(view.lines.empty());
    EXPECT_EQ(view.selection, -1);
    EXPECT_EQ(view.shown, '-');
    EXPECT_EQ(chooser.RememberedPosition(), -1);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.closes.empty());
}

TEST_F(ChooserTest, EnterNeedsPasteEnabledButDoubleClickOnlyAClearFlag) {
    Items({{"gone", "-Gone.bmp"}});
    chooser.Show();  // opens empty: Paste stays disabled as created
    chooser.KeyDown(ChooserCore::kEnterKey);
    EXPECT_TRUE(view.closes.empty());
    chooser.DoubleClick();  // a double-click on no line still closes
    EXPECT_EQ(view.closes, (Closes{ChooserResult::Ok}));
}

TEST_F(ChooserTest, VanishedFileIsReportedDroppedAndBlocksClosingWithOk) {
    Items({{"one", "Texte_001.txt"}, {"two", "Image_001.bmp"}, {"three", "Texte_002.TxT"}});
    chooser.Show();
    EXPECT_EQ(view.shown, 'T');
    fs.files.erase(InStore("Texte_001.txt"));
    Select(0);
    EXPECT_EQ(view.messages, (Lines{"Texte_001.txt introuvable."}));
    EXPECT_EQ(RowsOf(index), (Rows{{"two", "Image_001.bmp"}, {"three", "Texte_002.TxT"}}));
    EXPECT_EQ(view.lines, (Lines{"two", "three"}));
    EXPECT_EQ(view.selection, -1);
    EXPECT_FALSE(view.pasteEnabled);
    EXPECT_EQ(view.renameText, "three");
    chooser.KeyDown(ChooserCore::kEnterKey);
    chooser.DoubleClick();
    EXPECT_TRUE(view.closes.empty());

    // A preview that cannot be loaded is emptied and the flag stays; the item can be pasted.
    view.unloadable.insert("Image_001.bmp");
    Select(0);
    EXPECT_EQ(view.shown, 'P');
    EXPECT_EQ(view.preview, "");
    EXPECT_TRUE(view.pasteEnabled);
    chooser.KeyDown(ChooserCore::kEnterKey);
    EXPECT_TRUE(view.closes.empty());

    Select(1);  // a loaded preview clears the flag
    chooser.KeyDown(ChooserCore::kEnterKey);
    EXPECT_EQ(view.closes, (Closes{ChooserResult::Ok}));

    // The whole folder gone (moved away, a share offline) is said once, and no item is dropped.
    fs.folders.clear();
    fs.files.erase(InStore("Image_001.bmp"));
    Select(0);
    EXPECT_EQ(view.messages.back(), "folder missing");
    EXPECT_EQ(view.lines.size(), 2u);
    EXPECT_FALSE(view.pasteEnabled);
}

TEST_F(ChooserTest, CraftedNamesAreNeverLoadedNorDeleted) {
    fs.files["C:\\T\\x.txt"] = "outside the store";
    fs.files[InStore("CON")] = "a device";
    Items({{"a", "A.bmp"}});
    chooser.Show();
    // Rows like these can only arrive after the showing.
    for (const std::string name : {"..\\x.txt", "CON"}) {
        index.AppendItem(name, name);
        chooser.ItemAdded();
    }
    Select(1);
    EXPECT_EQ(view.messages.back(), "..\\x.txt introuvable.");

    view.selection = 1;  // "CON", not previewed
    chooser.KeyDown(ChooserCore::kDeleteKey);
    EXPECT_EQ(view.lines, (Lines{"a"}));
    EXPECT_EQ(fs.files.count("C:\\T\\x.txt") + fs.files.count(InStore("CON")), 2u);
    EXPECT_EQ(view.loads, (Lines{"A.bmp", "A.bmp"}));
}

TEST_F(ChooserTest, DeletingSelectsTheNextLineOrTheNewLast) {
    Items({{"a", "a.bmp"}, {"b", "b.bmp"}, {"c", "c.bmp"}});
    chooser.Show();
    chooser.KeyDown(ChooserCore::kDeleteKey);  // the last of three
    EXPECT_EQ(view.selection, 1);
    EXPECT_EQ(view.preview, "b.bmp");
    EXPECT_EQ(chooser.RememberedPosition(), 1);
    EXPECT_EQ(fs.files.count(InStore("c.bmp")), 0u);

    Items({{"c", "c.bmp"}});
    chooser.Show();
    Select(0);
    chooser.DeleteSelected();  // line 0 of three
    EXPECT_EQ(view.selection, 0);
    EXPECT_EQ(view.renameText, "b");
    EXPECT_EQ(view.lines, (Lines{"b", "c"}));
    EXPECT_EQ(RowsOf(index), (Rows{{"b", "b.bmp"}, {"c", "c.bmp"}}));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.closes.empty());
}

TEST_F(ChooserTest, DeletingTheLastItemReportsTheEmptyStoreAndCancels) {
    Items({{"a", "a.bmp"}, {"b", "b.bmp"}});
    chooser.Show();
    fs.files.erase(InStore("a.bmp"));
    chooser.DeleteSelected();  // b; then a turns out to be gone as well
    EXPECT_EQ(view.messages, (Lines{"a.bmp introuvable.", "Presse-papiers interne vidé."}));
    EXPECT_EQ(view.closes, (Closes{ChooserResult::Cancel}));
    EXPECT_TRUE(index.IsEmpty());
    EXPECT_TRUE(fs.files.empty());
    EXPECT_EQ(chooser.RememberedPosition(), -1);
}

TEST_F(ChooserTest, RenamingActsOnTheSelectedRow) {
    Items({{"a", "a.Txt"}, {"b", "b.bmp"}});
    chooser.Show();
    chooser.Rename("");
    EXPECT_EQ(RowsOf(index), (Rows{{"a", "a.Txt"}, {"", "b.bmp"}}));
    EXPECT_EQ(view.lines, (Lines{"a", ""}));
    EXPECT_EQ(view.selection, 1);

    view.selection = -1;
    chooser.Rename("nobody");
    EXPECT_EQ(view.lines, (Lines{"a", ""}));
    EXPECT_TRUE(IsTextItemFileName("a.Txt"));
    EXPECT_FALSE(IsTextItemFileName("x.txt.wmf"));
    EXPECT_FALSE(IsTextItemFileName("x.txt\\y"));
}

// A capture whose clipboard held `text`.
struct TextOnClipboard : ClipboardFormats, ClipWriter {
    std::string text;
    bool IsAvailable(unsigned format) const override { return format == kFormatText; }
    ClipFileContent Read(ClipKind) override { return {ClipFileContent::Status::Ready, "{\\rtf1\\ansi " + text + "}"}; }
};

// Users met it as a paste, rename or deletion of the item at the same position of the whole list.
struct SearchingChooserTest : ChooserTest {
    ItemSearch search{store, nullptr};
    ChooserCore searching{store, view, FrenchWord, &search};
    TextOnClipboard clipboard;
    void Capture(const std::string& text) {
        clipboard.text = text;
        store.Capture(clipboard, clipboard, "Texte");
        if (searching.ItemAdded()) searching.SelectionChanged();
    }
    void Select(int line) {
        view.selection = line;
        searching.SelectionChanged();
    }
};

TEST_F(SearchingChooserTest, EveryActionOnAFilteredListActsOnTheItemOfTheSelectedLine) {
    for (const char* text : {"adresse de Paul", "courses", "Montr\\'e9al, adresse", "notes"}) Capture(text);
    const char bitmapHead[] = "BM\0\0\0\0\0\0\0\0\0\0\0\0\x28\0\0\0\x80\x07\0\0\x38\x04\0\0";  // 1920 x 1080
    fs.files[InStore("Image_001.bmp")] = std::string(bitmapHead, sizeof bitmapHead - 1);
    index.AppendItem("Image_001", "Image_001.bmp");
    searching.Show();
    EXPECT_EQ(searching.LineDetail(4), "1920 \u00d7 1080");
    searching.Search("MONTR");
    searching.SettlePreview();  // once the keys waiting are handled
    EXPECT_EQ(view.lines, (Lines{"Texte_003"}));
    EXPECT_EQ(searching.SelectedRow(), 2);
    EXPECT_EQ(view.preview, "Texte_003.txt");
    EXPECT_EQ(searching.LineDetail(0), "Montr\u00e9al, adresse");

    searching.Search("adr");
    EXPECT_EQ(view.lines, (Lines{"Texte_001", "Texte_003"}));
    EXPECT_EQ(searching.SelectedRow(), 2) << "the selected item stays selected";
    searching.Rename("Chez Paul");
    EXPECT_EQ(store.DisplayName(2), "Chez Paul");
    searching.Search("chez");
    EXPECT_EQ(view.lines, (Lines{"Chez Paul"}));
    searching.Search("adr");
    Select(0);
    searching.KeyDown(ChooserCore::kDeleteKey);
    EXPECT_FALSE(fs.FileExists(InStore("Texte_001.txt")));
    EXPECT_EQ(view.lines, (Lines{"Chez Paul"}));
    EXPECT_EQ(store.FileName(searching.SelectedRow()), "Texte_003.txt");

    Capture("une autre adresse");  // it matches: its line is added and chosen
    Capture("rien");
    EXPECT_EQ(view.lines, (Lines{"Chez Paul", "Texte_005"}));
    EXPECT_EQ(store.FileName(searching.SelectedRow()), "Texte_005.txt");
    fs.files.erase(InStore("Texte_003.txt"));
    Select(0);
    EXPECT_EQ(view.messages, (Lines{"Texte_003.txt introuvable."}));
    EXPECT_EQ(view.lines, (Lines{"Texte_005"}));
    EXPECT_EQ(RowsOf(index), (Rows{{"Texte_002", "Texte_002.txt"}, {"Texte_004", "Texte_004.txt"},
                                   {"Image_001", "Image_001.bmp"}, {"Texte_005", "Texte_005.txt"},
                                   {"Texte_006", "Texte_006.txt"}}));
    Select(0);
    EXPECT_EQ(searching.SelectedRow(), 3) << "the paste takes this row";

    // The last match deleted: other items are left, and so is the chooser.
    searching.DeleteSelected();
    EXPECT_TRUE(view.lines.empty());
    EXPECT_FALSE(view.pasteEnabled);
    searching.KeyDown(ChooserCore::kEnterKey);
    EXPECT_TRUE(view.closes.empty());
    EXPECT_EQ(view.messages.size(), 1u);
    searching.Search("");
    EXPECT_EQ(view.lines, (Lines{"Texte_002", "Texte_004", "Image_001", "Texte_006"}));

    // Enter typed at once after the search chooses the item the list shows, preview and all.
    searching.Search("courses");
    searching.KeyDown(ChooserCore::kEnterKey);
    EXPECT_EQ(view.preview, "Texte_002.txt");
    EXPECT_EQ(view.closes, (Closes{ChooserResult::Ok}));
    searching.Search("zzz");
    EXPECT_FALSE(view.pasteEnabled);
    searching.Show();
    EXPECT_EQ(view.lines.size(), 4u) << "each showing starts unfiltered";
}

// A store folder whose watch lost track is listed again in the background: the chooser shows at
// once, its items as they stand and nothing chosen, and fills its list when the listing is there.
TEST(ChooserListing, AFolderListedInTheBackgroundFillsTheListWhenItIsThere) {
    struct SlowFolder : testing::MemoryFileSystem {
        struct LostTrack : FolderWatch {
            FolderChanges TakeChanges() override { return {}; }
        };
        std::unique_ptr<FolderWatch> WatchFolder(const std::string&) override { return std::make_unique<LostTrack>(); }
        std::optional<std::vector<FolderEntry>> ListFiles(const std::string& dir) override {
            released.wait();
            return MemoryFileSystem::ListFiles(dir);
        }
        std::promise<void> listing;
        std::shared_future<void> released = listing.get_future().share();
    } fs;
    fs.folders = {kStore};
    fs.files[InStore("a.bmp")] = fs.files[InStore("c.bmp")] = "x";
    ClipIndex saved;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) saved.AppendItem(name, name);
    fs.files["C:\\T\\Tessera.FIC"] = EncodeIndexFile(saved);
    ClipStore store(fs, kStore, "C:\\T\\Tessera.FIC");
    store.Load();
    RecordingView view;
    ChooserCore chooser(store, view, FrenchWord);
    chooser.Show();
    EXPECT_EQ(view.lines, (Lines{"a.bmp", "b.bmp", "c.bmp"}));
    EXPECT_EQ(view.selection, -1);
    chooser.DoubleClick();
    EXPECT_TRUE(view.closes.empty()) << "nothing to choose yet";

    fs.listing.set_value();
    view.listed.get_future().wait();
    chooser.ListingArrived();
    EXPECT_EQ(view.lines, (Lines{"a.bmp", "c.bmp"}));
    EXPECT_EQ(view.selection, 1);
    EXPECT_TRUE(view.pasteEnabled);
}

}  // namespace
}  // namespace tessera
