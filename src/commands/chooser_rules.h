#pragma once
// The paste chooser's list rules (showing, search, selection, delete, keys, rename), driving a
// ChooserView.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "search/item_search.h"
#include "store/clip_store.h"
#include "store/store_names.h"
#include "win/modal_result.h"

namespace tessera {

// What the dialog shows, as the rules see it. Line and selection numbers count from 0; -1 is
// "no line selected".
class ChooserView {
public:
    virtual ~ChooserView() = default;

    // ListBox1
    virtual void ClearLines() = 0;
    virtual void AddLine(const std::string& text) = 0;
    // Keeps the selection where it was.
    virtual void ReplaceLine(int line, const std::string& text) = 0;
    virtual void DeleteLine(int line) = 0;
    virtual int LineCount() const = 0;
    virtual int Selection() const = 0;
    virtual void SetSelection(int line) = 0;

    // RichEdit1 and Image1, which share one place.
    virtual void ShowTextPreview() = 0;     // text shown, picture hidden
    virtual void ShowPicturePreview() = 0;  // picture shown, text hidden
    virtual void HidePreviews() = 0;
    // Loads the item file `fileName` of the store; false when it could not be loaded, and the
    // rules then empty that preview.
    virtual bool LoadTextPreview(const std::string& fileName) = 0;
    virtual bool LoadPicturePreview(const std::string& fileName) = 0;
    virtual void EmptyTextPreview() = 0;
    virtual void EmptyPicturePreview() = 0;

    // Edit1. Its change handler may call Rename() back with the same text: that changes nothing.
    virtual void SetRenameText(const std::string& text) = 0;
    // Edit2, the search field: emptied; its change handler may call Search("") back.
    virtual void EmptySearchField() = 0;
    // Label1: says that the search is still reading the items' texts, or says nothing.
    virtual void ShowSearching(bool searching) = 0;
    // Has ChooserCore::SettlePreview run soon, once the typing pauses.
    virtual void PreviewSoon() = 0;
    // Button2
    virtual void EnablePaste(bool enabled) = 0;
    // An information box with its OK button showing `itemName` (the program's 8-bit code page,
    // as file names are) followed by `text` (UTF-8, as the program's own texts are); returns once
    // it is closed.
    virtual void ShowInformation(const std::string& itemName, const std::string& text) = 0;
    // Says that the store's folder is missing, in a box that returns once it is closed.
    virtual void ShowFolderMissing() = 0;
    // Ends the modal dialog with `result`.
    virtual void Close(win::ModalResult result) = 0;
    // What any thread may call at any time: the dialog then runs ChooserCore::ListingArrived on
    // its own thread (or nothing, once it is gone).
    virtual std::function<void()> ListingReadyNotice() = 0;
};

// How the chooser closes: the result of every modal form.
using ChooserResult = win::ModalResult;

// The chooser's free texts by id (ChooserWords), UTF-8.
using ChooserWordLookup = std::function<std::string(std::string_view id)>;

// Keeps the dialog's list in step with the store's clip index: each line shows one item, all of
// them in the store's order or, while a search is typed, those that match; every action on a
// line acts on the item it shows. Only item files whose names StoreFilePath accepts are ever
// touched.
class ChooserCore {
public:
    static constexpr int kDeleteKey = 46;
    static constexpr int kEnterKey = 13;

    // Without a search, the search field filters nothing.
    ChooserCore(ClipStore& store, ChooserView& view, ChooserWordLookup word, const ItemSearch* search = nullptr);

    // Each showing: drops stale rows, rebuilds the list, selects, previews. When the store folder
    // must be listed first (a change its watch lost track of), the list shows the items as they
    // stand, nothing selected, until ListingArrived.
    void Show();
    // The listing a showing waited for is there: the list is filled, the search kept.
    void ListingArrived();
    bool Settled() const noexcept { return settled_; }
    // After the selection changed, by the user or by the program.
    void SelectionChanged();
    // The context menu's Delete and the Delete key.
    void DeleteSelected();
    void KeyDown(int virtualKey);
    void DoubleClick();
    // Every change of the rename field.
    void Rename(const std::string& text);
    // Every change of the search field (UTF-8): the list shows the items that match at once, and
    // the preview follows the selection at SettlePreview (a search typed fast loads one preview).
    void Search(const std::string& query);
    const std::string& Query() const noexcept { return query_; }
    // Catches the preview and its state up with the selection; every action on the selected item
    // does it first.
    void SettlePreview();
    // The search adopted texts read in the background: a typed search may match more items.
    void TextsArrived();
    // A capture's new item, the store's last: a new line, selected, when it matches the search;
    // false when the search hides it.
    bool ItemAdded();
    // The store was cleared: the list shows what it kept, unfiltered, nothing selected.
    void StoreCleared();

    // The store row of the item on `line`, or -1.
    int RowOfLine(int line) const noexcept;
    // The store row of the selected item, or -1: what the paste takes.
    int SelectedRow() const { return RowOfLine(view_.Selection()); }
    // What the list shows after the item's name (UTF-8): the beginning of a text item's text, or
    // a picture's size; empty when unknown.
    std::string LineDetail(int line);

    // The store row selected last (-1 for none): the next showing selects it again.
    int RememberedPosition() const noexcept { return remembered_; }
    bool MissingFile() const noexcept { return missingFile_; }
    bool PasteEnabled() const noexcept { return pasteEnabled_; }

private:
    void SetPasteEnabled(bool enabled);
    // Drops stale rows, fills the list and selects the remembered item, or waits for the listing.
    void Fill();
    // Rebuilds the lines from the store, those that match the search.
    void FillLines();
    // The list shows the items matching a new search, the selected one kept when it matches.
    void Refilter();
    // The line of the item `row`, or -1 when it is not shown.
    int LineOfRow(int row) const;
    // Drops `line`, whose item (of file `fileName`) just left the store; the rows after it move up.
    void DropLine(int line, const std::string& fileName);
    // The search's item of every store row, made again when the store's rows changed.
    const std::vector<SearchIndex::ItemId>& RowItems();
    bool Filtering() const noexcept { return search_ && !query_.empty(); }

    ClipStore& store_;
    ChooserView& view_;
    ChooserWordLookup word_;
    const ItemSearch* search_;
    std::string query_;
    std::vector<int> lineRows_;                   // the store row of each line
    std::vector<SearchIndex::ItemId> rowItems_;   // per store row; stale once the rows changed
    bool rowItemsValid_ = false;
    bool previewPending_ = false;
    std::unordered_map<std::string, std::string> pictureSizes_;  // by file name, read once
    int remembered_ = -1;
    bool missingFile_ = false;
    bool pasteEnabled_ = false;
    bool settled_ = true;
};

}  // namespace tessera
