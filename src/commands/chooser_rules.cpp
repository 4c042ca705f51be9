#include "commands/chooser_rules.h"

#include <utility>

#include "lang/word_ids.h"
#include "text/ascii.h"

namespace tessera {

// The extension runs from the last dot after the last path delimiter, as the index's names were
// made; a crafted name with a separator is rejected later by StoreFilePath anyway.
bool IsTextItemFileName(std::string_view fileName) {
    const std::size_t at = fileName.find_last_of(".\\:");
    if (at == std::string_view::npos || fileName[at] != '.') return false;
    return EqualsIgnoringCase(fileName.substr(at), ".TXT");
}

ChooserCore::ChooserCore(ClipStore& store, ChooserView& view, ChooserWordLookup word)
    : store_(store), view_(view), word_(std::move(word)) {}

void ChooserCore::SetPasteEnabled(bool enabled) {
    pasteEnabled_ = enabled;
    view_.EnablePaste(enabled);
}

// Rows whose files went away since the last showing (or whose names could reach outside the
// store) disappear without a word. The list is then rebuilt from the index, so the two agree
// line for line from here on. A remembered position that no longer exists falls back to the
// last row: the newest item is preselected after start-up and after removals elsewhere.
void ChooserCore::Show() {
    settled_ = store_.DropStaleRows(view_.ListingReadyNotice());
    view_.ClearLines();
    const int items = store_.ItemCount();
    for (int row = 0; row < items; ++row) view_.AddLine(store_.DisplayName(row));
    if (!settled_) {
        view_.SetSelection(-1);
        view_.HidePreviews();
        SetPasteEnabled(false);
        return;
    }

    const int last = view_.LineCount() - 1;
    view_.SetSelection(remembered_ < 0 || remembered_ > last ? last : remembered_);
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
    int row = view_.Selection();
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
        view_.DeleteLine(row);
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
    if (!settled_) Show();
}

// No confirmation. The next item takes the deleted one's place, or the last one when the deleted
// item was last. Previewing it may drop it in turn if its file is gone, so emptiness is judged
// after the selection handling.
void ChooserCore::DeleteSelected() {
    const int row = view_.Selection();
    if (row < 0) return;
    store_.RemoveItem(row);
    view_.DeleteLine(row);
    const int count = view_.LineCount();
    view_.SetSelection(count == 0 ? -1 : (row < count ? row : count - 1));
    SelectionChanged();
    if (view_.LineCount() == 0) {
        view_.ShowInformation("", word_(ChooserWords::kStoreEmptied));
        view_.Close(ChooserResult::Cancel);
    }
    remembered_ = view_.Selection();
}

// Modifiers do not matter.
void ChooserCore::KeyDown(int virtualKey) {
    if (virtualKey == kDeleteKey)
        DeleteSelected();
    else if (virtualKey == kEnterKey && pasteEnabled_ && !missingFile_)
        view_.Close(ChooserResult::Ok);
}

// Closes also when the click hit no line: the paste command then finds no selection. Not before
// the list is settled: the line may be an item whose file is gone.
void ChooserCore::DoubleClick() {
    if (!missingFile_ && settled_) view_.Close(ChooserResult::Ok);
}

// Every keystroke renames; empty and duplicate names are allowed and the file name never changes.
void ChooserCore::Rename(const std::string& text) {
    const int row = view_.Selection();
    if (row < 0 || row >= store_.ItemCount()) return;
    store_.Rename(row, text);
    view_.ReplaceLine(row, text);
}

}  // namespace tessera
