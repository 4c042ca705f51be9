#pragma once
// TChoix, the paste chooser: the modal dialog that lists the clip items, searches them,
// previews, renames, deletes and edits them; each line of its list shows one item of the store's
// clip index (`grid`), all of them or those the search matches.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/chooser_rules.h"
#include "commands/type_ahead.h"
#include "lang/translated_form_win32.h"
#include "search/item_search.h"
#include "store/clip_store.h"
#include "win/list_accessibility.h"
#include "win/picture_box.h"
#include "win/unique_handle.h"

namespace tessera {

class TChoix final : public TranslatedForm, private ChooserView {
public:
    // Creates the hidden dialog (owned by `owner`) over the items of `store` and runs FormCreate.
    // `exeDir` names the program's folder in the message for a missing store folder. Without
    // `search` the search field filters nothing.
    TChoix(ClipStore& store, std::string exeDir, HWND owner = nullptr, ItemSearch* search = nullptr);
    ~TChoix() override;
    TChoix(const TChoix&) = delete;
    TChoix& operator=(const TChoix&) = delete;

    // What the dialog tells its owner: the clear button was pressed (the clear command asks and
    // clears), the dialog is closing (the settings and the index are to be saved).
    std::function<void()> OnClearRequested;
    std::function<void()> OnClosing;

    // ListBox1, as the rest of the program reads it.
    int ListCount() const noexcept { return static_cast<int>(lines_.size()); }
    const std::string& Line(int line) const { return lines_.at(static_cast<std::size_t>(line)); }
    int ItemIndex() const;
    // The store row of the item selected in the list (filtered or not), or -1: what is pasted.
    int SelectedRow() const { return core_.SelectedRow(); }
    // What a screen reader hears for `line`: the item's name, then what the line shows after it.
    std::wstring SpokenLine(int line);
    // What any thread may call after the search handed over texts: the dialog adopts them on its
    // own thread (TakeTexts), and a search typed then covers them.
    std::function<void()> SearchTextsNotice();

    // A capture's new item: a new last line, selected, and previewed when the dialog is open;
    // while a search is typed, only when the item matches it.
    void AddAndSelect(const std::string& displayName);
    // After the clear command: the list shows what the index kept (the items whose files could
    // not be deleted), both previews and the rename field are emptied.
    void ClearList();

    // ShowModal runs the dialog until it closes; OK from Paste, Enter or a double-click.
    bool Visible() const { return ::IsWindowVisible(hwnd()) != FALSE; }
    bool MissingFile() const noexcept { return core_.MissingFile(); }
    // Whether Shift was held as the item was chosen with OK.
    bool ChosenWithShift() const noexcept { return chosenWithShift_; }

    // What the paste command takes after OK.
    HWND RichEdit1() const { return Control("RichEdit1"); }
    const win::Picture& Image1Picture() const { return image1_->picture(); }

    // Event handlers, public so that tests can run them as the dialog does.
    void FormShow();         // each showing: stale rows dropped, the list rebuilt, a row previewed
    void ListBox1Click();    // the selection changed: the preview, the rename field, Coller
    void Supprimer1Click();  // the list's menu "Supprimer" (and the Delete key): the item goes
    void SaveTextPreview();  // an edit of the text preview written back to its item's file

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ModalShowing() override { FormShow(); }
    void ModalClosing() override;

private:
    void FormCreate();    // once: Coller disabled (the list waits for the first showing)
    void FormClose();     // every closing: the settings saved, the preview's edit kept
    void Button1Click();  // "Vider le Presse-papiers de Tessera...": the clear command, then Cancel
    void Edit1Change();   // the rename field changed: the item renamed
    void Edit2Change();   // the search field changed: the list shows what matches
    void OnCommand(int id, int code);
    void OnEnterKey();
    LRESULT OnCharToItem(wchar_t typed);
    void DrawLine(const DRAWITEMSTRUCT& item);
    void ShowListMenu(POINT at);
    void SyncLineCount() const;
    HWND List() const { return Control("ListBox1"); }

    // ChooserView
    void ClearLines() override;
    void AddLine(const std::string& text) override;
    void ReplaceLine(int line, const std::string& text) override;
    void DeleteLine(int line) override;
    int LineCount() const override { return ListCount(); }
    int Selection() const override { return ItemIndex(); }
    void SetSelection(int line) override;
    void ShowTextPreview() override;
    void ShowPicturePreview() override;
    void HidePreviews() override;
    bool LoadTextPreview(const std::string& fileName) override;
    bool LoadPicturePreview(const std::string& fileName) override;
    void EmptyTextPreview() override;
    void EmptyPicturePreview() override;
    void SetRenameText(const std::string& text) override;
    void EmptySearchField() override;
    void ShowSearching(bool searching) override;
    void PreviewSoon() override;
    void EnablePaste(bool enabled) override;
    void ShowInformation(const std::string& itemName, const std::string& text) override;
    void ShowFolderMissing() override;
    void Close(ChooserResult result) override;
    std::function<void()> ListingReadyNotice() override;
    void ListingArrived();
    void SearchTextsArrived();
    void FillList(const std::function<void()>& fill);

    ClipStore& store_;
    ItemSearch* search_;
    std::string exeDir_;
    std::unique_ptr<win::PictureBox> image1_;
    win::unique_hmenu popupMenu1_;
    ChooserCore core_;
    TypeAhead typeAhead_;
    bool chosenWithShift_ = false;

    // The list box draws these lines; it holds no strings of its own, so filling it with
    // thousands of items is one count change, not one message and redraw per line.
    std::vector<std::string> lines_;
    mutable bool countChanged_ = false;
    // The item file the text preview was loaded from (its name in the store): edits go back
    // there, and only there.
    std::string textPreviewFile_;
    HWND lastFocus_ = nullptr;
    std::unique_ptr<win::ListAccessibility> listAccessibility_;
};

}  // namespace tessera
