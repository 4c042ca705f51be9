#include "commands/paste_chooser_win32.h"

#include <commctrl.h>
#include <richedit.h>

#include <array>

#include "lang/language_tables.h"
#include "lang/word_ids.h"
#include "store/picture_file_win32.h"
#include "win/application.h"
#include "win/last_error.h"
#include "win/message_boxes.h"
#include "win/rich_edit.h"
#include "win/text.h"

namespace tessera {
namespace {

constexpr SIZE kClientSize{411, 247};
// The font of the dialog as designed: MS Sans Serif, default character set.
constexpr int kFontCharSet = 1;

// Shift held at the moment of choosing, as the click or key that chose saw it; the keyboard's own
// state as well, for a thread that received no key message while Shift went down.
bool ShiftIsDown() { return ::GetKeyState(VK_SHIFT) < 0 || ::GetAsyncKeyState(VK_SHIFT) < 0; }

enum ControlId : int {
    kButton1 = 3001,
    kButton2,
    kButton3,
    kRichEdit1,
    kListBox1,
    kEdit1,
    kSupprimer1,
};

using win::ControlRow;

// Tab order 3 belongs to the hidden file list and 7 to the hidden index table: neither is a
// window here (the store folder is listed through the file system, the index is the store's).
const std::array<ControlRow, 7> kControls{{
    {"Button1", L"BUTTON", kButton1, 6, 218, 227, 25, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
     "Vider le Presse-papiers de Tessera..."},
    {"Button2", L"BUTTON", kButton2, 248, 218, 75, 25, WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 0, 1,
     "Coller"},
    {"Button3", L"BUTTON", kButton3, 330, 218, 75, 25, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 2, "Annuler"},
    {"RichEdit1", RICHEDIT_CLASSW, kRichEdit1, 200, 8, 205, 205,
     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE, 4, ""},
    {"ListBox1", L"LISTBOX", kListBox1, 8, 8, 185, 177,
     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT |
         LBS_WANTKEYBOARDINPUT,
     WS_EX_CLIENTEDGE, 5, ""},
    {"Edit1", L"EDIT", kEdit1, 8, 192, 185, 21, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 6, ""},
    // The picture preview, a window the dialog makes; each showing moves it to RichEdit1's place.
    {"Image1", nullptr, 0, 152, 0, 105, 105, 0, 0, -1, ""},
}};

// In a dialog the multi-line rich edit answers Escape with a WM_CLOSE to its parent, which would
// close the chooser with Cancel. Escape does nothing in the chooser, so the preview never sees
// it; WM_CLOSE itself is left alone, so the close box and a close asked by another program still
// cancel.
constexpr UINT_PTR kKeepEscapeId = 0x455343;  // "ESC"

LRESULT CALLBACK KeepEscape(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE) return 0;
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

// Posted by the store folder's listing, made in the background, once it is there.
constexpr UINT kListingReadyMessage = WM_APP + 1;

void Place(HWND control, const RECT& box) {
    ::SetWindowPos(control, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TChoix::TChoix(ClipStore& store, std::string exeDir, HWND owner)
    : TranslatedForm({L"TChoix", kClientSize, win::kDialogStyle, win::kDialogExStyle, kControls, owner}, ChooserTable(),
                     kFontCharSet),
      store_(store),
      exeDir_(std::move(exeDir)),
      core_(store, *this, [this](std::string_view id) { return MultiLang1->GetWord(id); }) {
    image1_ = std::make_unique<win::PictureBox>(hwnd(), Bounds("Image1"), win::PictureBox::Fit::Stretch,
                                                ::GetSysColor(COLOR_BTNFACE), WS_CLIPSIBLINGS);
    Attach("Image1", image1_->hwnd());

    // The largest limit: an item may be as long as whatever was copied.
    ::SendMessageW(RichEdit1(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    // The subclass holds no state; the system drops it when the control is destroyed.
    if (!::SetWindowSubclass(RichEdit1(), KeepEscape, kKeepEscapeId, 0)) win::ThrowLastError("SetWindowSubclass");

    popupMenu1_.reset(::CreatePopupMenu());
    ::AppendMenuW(popupMenu1_.get(), MF_STRING, kSupprimer1, L"");

    // Captions, the menu item and Edit1's hint come from the translation table.
    const NamedMenuItem items[] = {{"Supprimer1", popupMenu1_.get(), kSupprimer1}};
    LoadTexts(items);

    FormCreate();
}

// The store is loaded by start-up before the chooser is made. The list stays empty until the
// first showing fills it from the index: filling it now would be work thrown away.
void TChoix::FormCreate() { EnablePaste(false); }

int TChoix::ItemIndex() const {
    SyncLineCount();
    return static_cast<int>(::SendMessageW(List(), LB_GETCURSEL, 0, 0));
}

void TChoix::AddAndSelect(const std::string& displayName) {
    AddLine(displayName);
    SetSelection(ListCount() - 1);
    if (Visible()) ListBox1Click();
}

void TChoix::ClearList() {
    ClearLines();
    const int items = store_.ItemCount();
    for (int row = 0; row < items; ++row) AddLine(store_.DisplayName(row));
    ::SetWindowTextW(RichEdit1(), L"");
    ::SendMessageW(RichEdit1(), EM_SETMODIFY, FALSE, 0);
    textPreviewFile_.clear();
    image1_->Clear();
    ::SetWindowTextW(Control("Edit1"), L"");
}

// The closing handlers run while the dialog is still on screen, as a closing dialog's do.
void TChoix::ModalClosing() {
    if (win::Application::Instance().Terminated()) {
        // The program is quitting and has saved its settings already; keep the user's edit.
        SaveTextPreview();
    } else {
        FormClose();
    }
}

// The table put the picture preview back in its own place: it belongs over the text preview.
void TChoix::DpiChanged() { Place(image1_->hwnd(), Bounds("RichEdit1")); }

void TChoix::FormShow() {
    FillList(&ChooserCore::Show);
    Place(image1_->hwnd(), Bounds("RichEdit1"));
    ::SetForegroundWindow(hwnd());
}

// The list is drawn once, filled: drawn line by line, thousands of items would take seconds.
void TChoix::FillList(void (ChooserCore::*fill)()) {
    ::SendMessageW(List(), WM_SETREDRAW, FALSE, 0);
    const win::scope_exit redraw([this] {
        ::SendMessageW(List(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(List(), nullptr, TRUE);
    });
    (core_.*fill)();
}

// Posted: the listing's thread must not touch the dialog, which may be gone by then.
std::function<void()> TChoix::ListingReadyNotice() {
    return [window = hwnd()] { ::PostMessageW(window, kListingReadyMessage, 0, 0); };
}

// Only an open dialog fills its list now; a hidden one takes the listing at its next showing.
void TChoix::ListingArrived() {
    if (Visible()) FillList(&ChooserCore::ListingArrived);
}

// A failure to save the settings is shown, and the text edit is written all the same.
void TChoix::FormClose() {
    try {
        if (OnClosing) OnClosing();
    } catch (...) {
        win::Application::Instance().ShowCurrentException();
    }
    SaveTextPreview();
}

void TChoix::ListBox1Click() { core_.SelectionChanged(); }

void TChoix::Supprimer1Click() { core_.DeleteSelected(); }

void TChoix::Edit1Change() {
    const int length = ::GetWindowTextLengthW(Control("Edit1"));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(Control("Edit1"), text.data(), length + 1)));
    core_.Rename(win::WideToAnsi(text));
}

// Only an edit is written, and only to the item file it was loaded from while that file is still
// there: a deleted or vanished item is not brought back by a stale preview. Failures are ignored;
// the file is replaced whole or not at all.
void TChoix::SaveTextPreview() {
    if (textPreviewFile_.empty() || !::SendMessageW(RichEdit1(), EM_GETMODIFY, 0, 0)) return;
    if (const auto rtf = win::StreamOutRtf(RichEdit1()); rtf && store_.ReplaceItemFile(textPreviewFile_, *rtf))
        ::SendMessageW(RichEdit1(), EM_SETMODIFY, FALSE, 0);
}

// The clear command asks for confirmation; the dialog closes with Cancel whatever the answer.
void TChoix::Button1Click() {
    const win::scope_exit close([this] { Close(ChooserResult::Cancel); });
    if (OnClearRequested) OnClearRequested();
}

// No button is the default one: Enter acts on the focused control. The dialog keys turn Enter
// into IDOK and Escape into IDCANCEL, except in the text preview, which takes every key itself.
void TChoix::OnEnterKey() {
    HWND focus = ::GetFocus();
    if (focus == List())
        core_.KeyDown(ChooserCore::kEnterKey);
    else if (focus == Control("Button1") || focus == Control("Button2") || focus == Control("Button3"))
        ::SendMessageW(focus, BM_CLICK, 0, 0);
}

void TChoix::OnCommand(int id, int code) {
    switch (id) {
    case IDOK: OnEnterKey(); break;
    case IDCANCEL: break;  // Escape does nothing
    case kButton1:
        if (code == BN_CLICKED) Button1Click();
        break;
    case kButton2:
        if (code == BN_CLICKED) Close(ChooserResult::Ok);
        break;
    case kButton3:
        if (code == BN_CLICKED) Close(ChooserResult::Cancel);
        break;
    case kListBox1:
        if (code == LBN_SELCHANGE) ListBox1Click();
        if (code == LBN_DBLCLK) core_.DoubleClick();
        break;
    case kEdit1:
        if (code == EN_CHANGE) Edit1Change();
        break;
    case kRichEdit1:
        if (code == EN_KILLFOCUS) SaveTextPreview();
        break;
    case kSupprimer1: Supprimer1Click(); break;
    default: break;
    }
}

void TChoix::DrawLine(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= lines_.size()) {
        if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = item.rcItem;
    text.left += Scaled(2);
    const std::wstring line = win::AnsiToWide(lines_[item.itemID]);
    ::DrawTextW(item.hDC, line.c_str(), static_cast<int>(line.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
}

void TChoix::ShowListMenu(POINT at) {
    if (at.x == -1 && at.y == -1) {  // from the keyboard: below the selected line
        RECT line{};
        ::SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(std::max(ItemIndex(), 0)),
                       reinterpret_cast<LPARAM>(&line));
        at = {line.left, line.bottom};
        ::ClientToScreen(List(), &at);
    }
    ::TrackPopupMenu(popupMenu1_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

// The list box holds only a count; the lines added since it was last set reach it at the next
// question about lines or selection.
void TChoix::SyncLineCount() const {
    if (!countChanged_) return;
    countChanged_ = false;
    ::SendMessageW(List(), LB_SETCOUNT, lines_.size(), 0);
}

void TChoix::ClearLines() {
    lines_.clear();
    countChanged_ = false;
    ::SendMessageW(List(), LB_RESETCONTENT, 0, 0);
}

void TChoix::AddLine(const std::string& text) {
    lines_.push_back(text);
    countChanged_ = true;
}

void TChoix::ReplaceLine(int line, const std::string& text) {
    if (line < 0 || line >= ListCount()) return;
    lines_[static_cast<std::size_t>(line)] = text;
    RECT box{};
    if (::SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&box)) != LB_ERR)
        ::InvalidateRect(List(), &box, TRUE);
}

void TChoix::DeleteLine(int line) {
    if (line < 0 || line >= ListCount()) return;
    SyncLineCount();
    lines_.erase(lines_.begin() + line);
    ::SendMessageW(List(), LB_DELETESTRING, static_cast<WPARAM>(line), 0);
}

void TChoix::SetSelection(int line) {
    SyncLineCount();
    ::SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
}

void TChoix::ShowTextPreview() {
    ::ShowWindow(RichEdit1(), SW_SHOW);
    ::ShowWindow(image1_->hwnd(), SW_HIDE);
}

void TChoix::ShowPicturePreview() {
    ::ShowWindow(RichEdit1(), SW_HIDE);
    ::ShowWindow(image1_->hwnd(), SW_SHOW);
}

void TChoix::HidePreviews() {
    ::ShowWindow(RichEdit1(), SW_HIDE);
    ::ShowWindow(image1_->hwnd(), SW_HIDE);
}

// An edit of the previous text item is written back before another item's preview replaces it.
bool TChoix::LoadTextPreview(const std::string& fileName) {
    SaveTextPreview();
    textPreviewFile_ = fileName;
    const auto bytes = store_.ReadItemFile(fileName);
    const bool loaded = bytes && win::StreamInRtf(RichEdit1(), *bytes);
    ::SendMessageW(RichEdit1(), EM_SETMODIFY, FALSE, 0);
    return loaded;
}

bool TChoix::LoadPicturePreview(const std::string& fileName) {
    SaveTextPreview();
    const auto bytes = store_.ReadItemFile(fileName);
    std::optional<win::Picture> picture = bytes ? PictureFromFileBytes(fileName, *bytes) : std::nullopt;
    if (!picture) return false;
    image1_->SetPicture(std::move(*picture));
    return true;
}

void TChoix::EmptyTextPreview() {
    ::SetWindowTextW(RichEdit1(), L"");
    ::SendMessageW(RichEdit1(), EM_SETMODIFY, FALSE, 0);
}

void TChoix::EmptyPicturePreview() { image1_->Clear(); }

// Setting the field fires its change notification, which renames the item to the same name.
void TChoix::SetRenameText(const std::string& text) {
    ::SetWindowTextW(Control("Edit1"), win::AnsiToWide(text).c_str());
}

void TChoix::EnablePaste(bool enabled) { ::EnableWindow(Control("Button2"), enabled); }

void TChoix::ShowInformation(const std::string& itemName, const std::string& text) {
    win::ShowInformation(win::AnsiToWide(itemName) + win::Utf8ToWide(text));
}

void TChoix::ShowFolderMissing() {
    win::ShowErrorMessage(win::Utf8ToWide(MultiLang1->GetWord(ChooserWords::kFolderMissingBefore)) +
                          win::AnsiToWide(exeDir_) +
                          win::Utf8ToWide(MultiLang1->GetWord(ChooserWords::kFolderMissingAfter)));
}

// Shift held as an item is chosen (Coller, Enter, a double-click) asks for its text without its
// formatting.
void TChoix::Close(ChooserResult result) {
    chosenWithShift_ = result == ChooserResult::Ok && ShiftIsDown();
    EndModal(result);
}

// A letter typed in the list goes to the next line that starts with the letters typed so far.
LRESULT TChoix::OnCharToItem(wchar_t typed) {
    char character = 0;
    BOOL unmapped = FALSE;
    if (typed < L' ' || ::WideCharToMultiByte(CP_ACP, 0, &typed, 1, &character, 1, nullptr, &unmapped) != 1 || unmapped)
        return -1;
    const int current = ItemIndex();
    const std::optional<int> line = typeAhead_.Type(character, ::GetTickCount(), current, ListCount(),
                                                    [this](int i) -> const std::string& { return Line(i); });
    if (line && *line != current) {
        SetSelection(*line);
        ListBox1Click();
    }
    return -2;  // handled: the list does nothing more
}

LRESULT TChoix::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DRAWITEM:
        if (wParam == kListBox1) {
            DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_CHARTOITEM:
        if (reinterpret_cast<HWND>(lParam) == List()) return OnCharToItem(static_cast<wchar_t>(LOWORD(wParam)));
        break;
    case WM_VKEYTOITEM:
        if (reinterpret_cast<HWND>(lParam) == List()) {
            const int key = LOWORD(wParam);
            core_.KeyDown(key);
            return key == ChooserCore::kDeleteKey || key == ChooserCore::kEnterKey ? -2 : -1;
        }
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == List()) {
            ShowListMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // The focus comes back to the control that had it; the first time to the first in tab order.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = ::GetFocus(); focus && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
        } else {
            ::SetFocus(lastFocus_ && ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_)
                           ? lastFocus_
                           : Control("Button1"));
        }
        return 0;
    case kListingReadyMessage: ListingArrived(); return 0;
    case WM_ENDSESSION:
        // Windows ends the program after this without closing the dialog: the edit of the text
        // preview is kept as a closing would keep it (the main window saves the index).
        if (wParam) SaveTextPreview();
        return 0;
    default: break;
    }
    return TranslatedForm::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera
