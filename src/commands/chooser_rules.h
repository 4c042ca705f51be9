#pragma once
// The paste chooser's list rules (showing, selection, delete, keys, rename), driving a ChooserView.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "store/clip_store.h"
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

// Keeps the store's clip index and the dialog's list line for line; only item files whose names
// StoreFilePath accepts are ever touched.
class ChooserCore {
public:
    static constexpr int kDeleteKey = 46;
    static constexpr int kEnterKey = 13;

    ChooserCore(ClipStore& store, ChooserView& view, ChooserWordLookup word);

    // Each showing: drops stale rows, rebuilds the list, selects, previews. When the store folder
    // must be listed first (a change its watch lost track of), the list shows the items as they
    // stand, nothing selected, until ListingArrived.
    void Show();
    // The listing a showing waited for is there.
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

    int RememberedPosition() const noexcept { return remembered_; }
    bool MissingFile() const noexcept { return missingFile_; }
    bool PasteEnabled() const noexcept { return pasteEnabled_; }

private:
    void SetPasteEnabled(bool enabled);

    ClipStore& store_;
    ChooserView& view_;
    ChooserWordLookup word_;
    int remembered_ = -1;
    bool missingFile_ = false;
    bool pasteEnabled_ = false;
    bool settled_ = true;
};

// True when `fileName`'s extension, upper-cased, is ".TXT".
bool IsTextItemFileName(std::string_view fileName);

}  // namespace tessera
