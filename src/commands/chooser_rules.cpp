#include "commands/chooser_rules.h"

#include <algorithm>
#include <utility>

#include "lang/word_ids.h"
#include "store/picture_size.h"
#include "text/ascii.h"

namespace tessera {

ChooserCore::ChooserCore(ClipStore& store, ChooserView& view, ChooserWordLookup word, const ItemSearch* search)
    : store_(store), view_(view), word_(std::move(word)), search_(search) {}

void ChooserCore::SetPasteEnabled(bool enabled) {
    pasteEnabled_ = enabled;
    view_.EnablePaste(enabled);
}

int ChooserCore::RowOfLine(int line) const noexcept {
    return line >= 0 && static_cast<std::size_t>(line) < lineRows_.size() ? lineRows_[static_cast<std::size_t>(line)] : -1;
}

int ChooserCore::LineOfRow(int row) const {
    if (row < 0) return -1;
    // The lines are in the store's order.
    const auto it = std::lower_bound(lineRows_.begin(), lineRows_.end(), row);
    return it != lineRows_.end() && *it == row ? static_cast<int>(it - lineRows_.begin()) : -1;
}

// A lookup per row, once per change of the store's rows rather than at each keystroke.
const std::vector<SearchIndex::ItemId>& ChooserCore::RowItems() {
    const auto rows = static_cast<std::size_t>(store_.ItemCount());
    if (!rowItemsValid_ || rowItems_.size() != rows) {
        rowItems_.resize(rows);
        for (std::size_t row = 0; row < rows; ++row)
            rowItems_[row] = search_->Index().Find(store_.FileName(static_cast<int>(row)));
        rowItemsValid_ = true;
    }
    return rowItems_;
}

void ChooserCore::FillLines() {
    view_.ClearLines();
    lineRows_.clear();
    const int items = store_.ItemCount();
    if (!Filtering()) {
        lineRows_.reserve(static_cast<std::size_t>(items));
        for (int row = 0; row < items; ++row) {
            lineRows_.push_back(row);
            view_.AddLine(store_.DisplayName(row));
        }
        return;
    }
    const SearchResult matches = search_->Index().Search(query_);
    const std::vector<SearchIndex::ItemId>& ids = RowItems();
    for (int row = 0; row < items; ++row) {
        if (!matches.Contains(ids[static_cast<std::size_t>(row)])) continue;
        lineRows_.push_back(row);
        view_.AddLine(store_.DisplayName(row));
    }
}

// Rows whose files went away since the last showing (or whose names could reach outside the
// store) disappear without a word. Each showing starts with an empty search field, and the list
// is rebuilt from the index, so the two agree line for line from here on. A remembered item that
// no longer exists falls back to the last row: the newest item is preselected after start-up and
// after removals elsewhere.
void ChooserCore::Show() {
    query_.clear();
    view_.EmptySearchField();
    view_.ShowSearching(false);
    Fill();
}

void ChooserCore::Fill() {
    settled_ = store_.DropStaleRows(view_.ListingReadyNotice());
    rowItemsValid_ = false;
    FillLines();
    if (!settled_) {
        view_.SetSelection(-1);
        view_.HidePreviews();
        SetPasteEnabled(false);
        return;
    }

    const int remembered = LineOfRow(remembered_);
    view_.SetSelection(remembered >= 0 ? remembered : view_.LineCount() - 1);
    SelectionChanged();
}

// With nothing selected only the previews go; the rename field and Paste keep their state.
// A text item (".TXT" in any case) goes to the text preview, anything else to the picture
// preview. A file that cannot be loaded leaves an empty preview and the missing-file flag as it
// was: the item stays and can still be pasted. A file that is gone is reported and its row
// dropped from index and list; the flag then keeps Enter and double-click from closing with OK
// on an item that no longer exists. When the whole folder is gone, the folder is reported and
// the item stays: the folder may come back with every file.
void ChooserCore::SelectionChanged() {
    previewPending_ = false;
    const int line = view_.Selection();
    int row = RowOfLine(line);
    if (row < 0) {
        view_.HidePreviews();
        remembered_ = -1;
        return;
    }
    remembered_ = row;
    const std::string fileName = store_.FileName(row);
    // A name the store would not use as a path counts as a missing file: it is never opened.
    const auto path = store_.ItemPath(row);
    if (path && store_.Files().FileExists(*path)) {
        const bool text = IsTextItemFileName(fileName);
        if (text)
            view_.ShowTextPreview();
        else
            view_.ShowPicturePreview();
        if (text ? view_.LoadTextPreview(fileName) : view_.LoadPicturePreview(fileName))
            missingFile_ = false;
        else if (text)
            view_.EmptyTextPreview();
        else
            view_.EmptyPicturePreview();
    } else if (!store_.FolderExists()) {
        view_.HidePreviews();
        view_.ShowFolderMissing();
        missingFile_ = true;
        row = -1;
    } else {
        view_.ShowInformation(fileName, word_(ChooserWords::kMissingFile));
        store_.ForgetItem(row);
        DropLine(line, fileName);
        view_.SetSelection(-1);
        missingFile_ = true;
        row = -1;
    }
    // Setting the field fires its change handler in the dialog, which writes the same name back:
    // nothing to do here for that.
    if (row >= 0) view_.SetRenameText(store_.DisplayName(row));
    SetPasteEnabled(row >= 0);
}

void ChooserCore::ListingArrived() {
    if (!settled_) Fill();
}

void ChooserCore::SettlePreview() {
    if (previewPending_) SelectionChanged();
}

void ChooserCore::DropLine(int line, const std::string& fileName) {
    const int row = RowOfLine(line);
    if (row < 0) return;
    lineRows_.erase(lineRows_.begin() + line);
    for (int& later : lineRows_)
        if (later > row) --later;
    if (rowItemsValid_ && static_cast<std::size_t>(row) < rowItems_.size()) rowItems_.erase(rowItems_.begin() + row);
    // Its number may come back with another picture.
    pictureSizes_.erase(UpperAscii(fileName));
    view_.DeleteLine(line);
}

// No confirmation. The next line takes the deleted one's place, or the last one when the deleted
// line was last. Previewing it may drop it in turn if its file is gone, so emptiness is judged
// after the selection handling; a search that no longer matches anything leaves the store as it
// is, and the chooser open.
void ChooserCore::DeleteSelected() {
    SettlePreview();
    const int line = view_.Selection();
    const int row = RowOfLine(line);
    if (row < 0) return;
    const std::string fileName = store_.FileName(row);
    store_.RemoveItem(row);
    DropLine(line, fileName);
    const int count = view_.LineCount();
    view_.SetSelection(count == 0 ? -1 : (line < count ? line : count - 1));
    SelectionChanged();
    if (count == 0) SetPasteEnabled(false);
    if (store_.ItemCount() == 0) {
        view_.ShowInformation("", word_(ChooserWords::kStoreEmptied));
        view_.Close(ChooserResult::Cancel);
    }
    remembered_ = SelectedRow();
}

// Modifiers do not matter.
void ChooserCore::KeyDown(int virtualKey) {
    SettlePreview();
    if (virtualKey == kDeleteKey)
        DeleteSelected();
    else if (virtualKey == kEnterKey && pasteEnabled_ && !missingFile_)
        view_.Close(ChooserResult::Ok);
}

// Closes also when the click hit no line: the paste command then finds no selection. Not before
// the list is settled: the line may be an item whose file is gone.
void ChooserCore::DoubleClick() {
    SettlePreview();
    if (!missingFile_ && settled_) view_.Close(ChooserResult::Ok);
}

// Every keystroke renames; empty and duplicate names are allowed and the file name never changes.
// The item keeps its line even when its new name no longer matches the search.
void ChooserCore::Rename(const std::string& text) {
    SettlePreview();
    const int line = view_.Selection();
    const int row = RowOfLine(line);
    if (row < 0 || row >= store_.ItemCount()) return;
    store_.Rename(row, text);
    view_.ReplaceLine(line, text);
}

void ChooserCore::Search(const std::string& query) {
    if (query == query_) return;
    query_ = query;
    Refilter();
}

// The selected item stays selected while it matches, else the newest match is, as the newest
// item is when the chooser opens. Its preview is loaded once the typing pauses, and only when
// the item changed: under Wine a long text takes longer to load than the search to run. With no
// match nothing can be pasted.
void ChooserCore::Refilter() {
    const int selected = SelectedRow();
    FillLines();
    view_.ShowSearching(Filtering() && search_->Reading());
    const int kept = LineOfRow(selected);
    const int line = kept >= 0 ? kept : view_.LineCount() - 1;
    view_.SetSelection(line);
    if (line < 0) {
        SelectionChanged();
        SetPasteEnabled(false);
    } else if (RowOfLine(line) != selected) {
        previewPending_ = true;
        view_.PreviewSoon();
    }
}

void ChooserCore::TextsArrived() {
    if (Filtering())
        Refilter();
    else
        view_.ShowSearching(false);
}

bool ChooserCore::ItemAdded() {
    const int row = store_.ItemCount() - 1;
    if (row < 0 || LineOfRow(row) >= 0) return false;
    if (Filtering() && !search_->Index().Search(query_).Contains(RowItems()[static_cast<std::size_t>(row)])) return false;
    lineRows_.push_back(row);
    view_.AddLine(store_.DisplayName(row));
    view_.SetSelection(view_.LineCount() - 1);
    return true;
}

void ChooserCore::StoreCleared() {
    pictureSizes_.clear();
    query_.clear();
    view_.EmptySearchField();
    view_.ShowSearching(false);
    rowItemsValid_ = false;
    FillLines();
    remembered_ = -1;
}

// A picture's size is read from its file's first bytes once, when its line is first drawn: only
// the lines on screen need it, and the search's cache holds texts only.
std::string ChooserCore::LineDetail(int line) {
    const int row = RowOfLine(line);
    if (row < 0) return {};
    const std::string& fileName = store_.FileName(row);
    if (IsTextItemFileName(fileName))
        return search_ ? std::string(search_->Index().Summary(search_->Index().Find(fileName))) : std::string();
    const auto [it, added] = pictureSizes_.try_emplace(UpperAscii(fileName));
    if (added) {
        const std::optional<std::string> path = store_.ItemPath(row);
        const std::optional<std::string> head = path ? store_.Files().ReadStart(*path, kPictureHeadBytes) : std::nullopt;
        it->second = head ? PictureSizeText(fileName, *head).value_or("") : "";
    }
    return it->second;
}

}  // namespace tessera
