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

// As designed; the user may make it larger (Tessera.INI keeps that size), never smaller.
constexpr SIZE kClientSize{520, 298};
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
    kEdit2,
    kLabel1,
};

using win::Anchors;
using win::ControlRow;
using win::FontWeight;

// As the dialog grows, the list and the previews share the new width and take the new height;
// the search field and the rename field follow the list, the buttons the bottom edge.
constexpr Anchors kLeftHalf{0, 0, 50, 100};
constexpr Anchors kRightHalf{50, 0, 100, 100};
constexpr Anchors kBottomRight{100, 100, 100, 100};

// Tab order 3 belongs to the hidden file list of the design: it is no window here (the store
// folder is listed through the file system).
const std::array<ControlRow, 9> kControls{{
    {"Button1", L"BUTTON", kButton1, 6, 265, 227, 25, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
     "Vider le Presse-papiers de Tessera...", FontWeight::Normal, CLR_INVALID, {0, 100, 0, 100}},
    {"Button2", L"BUTTON", kButton2, 357, 265, 75, 25, WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 0, 1,
     "Coller", FontWeight::Normal, CLR_INVALID, kBottomRight},
    {"Button3", L"BUTTON", kButton3, 437, 265, 75, 25, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 2, "Annuler",
     FontWeight::Normal, CLR_INVALID, kBottomRight},
    {"RichEdit1", RICHEDIT_CLASSW, kRichEdit1, 272, 8, 240, 249,
     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE, 4, "",
     FontWeight::Normal, CLR_INVALID, kRightHalf},
    // The search field, just before the list in the tab order; its hint comes from the table.
    {"Edit2", L"EDIT", kEdit2, 8, 8, 130, 21, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 5, "",
     FontWeight::Normal, CLR_INVALID, {0, 0, 50, 0}},
    // Shown while a search is typed before every item's text has been read.
    {"Label1", L"STATIC", kLabel1, 142, 12, 123, 13, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, -1, "Recherche en cours\u2026",
     FontWeight::Normal, CLR_INVALID, {50, 0, 50, 0}},
    {"ListBox1", L"LISTBOX", kListBox1, 8, 33, 257, 197,
     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT |
         LBS_WANTKEYBOARDINPUT,
     WS_EX_CLIENTEDGE, 6, "", FontWeight::Normal, CLR_INVALID, kLeftHalf},
    {"Edit1", L"EDIT", kEdit1, 8, 236, 257, 21, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 7, "",
     FontWeight::Normal, CLR_INVALID, {0, 100, 50, 100}},
    // The picture preview, a window the dialog makes, in RichEdit1's place.
    {"Image1", nullptr, 0, 272, 8, 240, 249, 0, 0, -1, "", FontWeight::Normal, CLR_INVALID, kRightHalf},
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

// Ctrl+F anywhere in the chooser goes to the search field; in the search field, the keys that
// move in a list move the list's selection, the focus staying in the field.
constexpr UINT_PTR kFindKeysId = 0x46494E44;  // "FIND"

LRESULT CALLBACK FindKeys(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR search) {
    if (message == WM_KEYDOWN) {
        const auto field = reinterpret_cast<HWND>(search);
        if (wParam == 'F' && ::GetKeyState(VK_CONTROL) < 0) {
            ::SetFocus(field);
            ::SendMessageW(field, EM_SETSEL, 0, -1);
            return 0;
        }
        if (control == field && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT)) {
            HWND list = ::GetDlgItem(::GetParent(field), kListBox1);
            ::SendMessageW(list, WM_KEYDOWN, wParam, lParam);
            return 0;
        }
    }
    // Ctrl+F's character would beep in an edit box.
    if (message == WM_CHAR && wParam == 6) return 0;
    return ::DefSubclassProc(control, message, wParam, lParam);
}

// Posted by the store folder's listing, made in the background, once it is there.
constexpr UINT kListingReadyMessage = WM_APP + 1;
// Posted by the search's build after each hand-over of texts.
constexpr UINT kSearchTextsMessage = WM_APP + 2;
// Set when the selection moved with the search: its preview follows once the typing pauses, so
// that a search typed shows its list at each key and loads one preview, where it stops (under
// Wine a long text takes longer to load than a key to come).
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT kPreviewPauseMs = 250;

std::wstring TextOf(HWND control) {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

}  // namespace

TChoix::TChoix(ClipStore& store, std::string exeDir, HWND owner, ItemSearch* search)
    : TranslatedForm({L"TChoix", kClientSize, win::kSizableDialogStyle, win::kDialogExStyle, kControls, owner},
                     ChooserTable(), kFontCharSet),
      store_(store),
      search_(search),
      exeDir_(std::move(exeDir)),
      core_(store, *this, [this](std::string_view id) { return MultiLang1->GetWord(id); }, search) {
    image1_ = std::make_unique<win::PictureBox>(hwnd(), Bounds("Image1"), win::PictureBox::Fit::Stretch,
                                                ::GetSysColor(COLOR_BTNFACE), WS_CLIPSIBLINGS);
    Attach("Image1", image1_->hwnd());

    // The largest limit: an item may be as long as whatever was copied.
    ::SendMessageW(RichEdit1(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    // The subclass holds no state; the system drops it when the control is destroyed.
    if (!::SetWindowSubclass(RichEdit1(), KeepEscape, kKeepEscapeId, 0)) win::ThrowLastError("SetWindowSubclass");
    for (const char* name : {"Button1", "Button2", "Button3", "RichEdit1", "Edit2", "ListBox1", "Edit1"})
        if (!::SetWindowSubclass(Control(name), FindKeys, kFindKeysId, reinterpret_cast<DWORD_PTR>(Control("Edit2"))))
            win::ThrowLastError("SetWindowSubclass");
    listAccessibility_ = std::make_unique<win::ListAccessibility>(List(), [this](int line) { return SpokenLine(line); });

    popupMenu1_.reset(::CreatePopupMenu());
    ::AppendMenuW(popupMenu1_.get(), MF_STRING, kSupprimer1, L"");

    // Captions, the menu item and Edit1's hint come from the translation table.
    const NamedMenuItem items[] = {{"Supprimer1", popupMenu1_.get(), kSupprimer1}};
    LoadTexts(items);

    FormCreate();
}

TChoix::~TChoix() = default;

// The store is loaded by start-up before the chooser is made. The list stays empty until the
// first showing fills it from the index: filling it now would be work thrown away.
void TChoix::FormCreate() { EnablePaste(false); }

int TChoix::ItemIndex() const {
    SyncLineCount();
    return static_cast<int>(::SendMessageW(List(), LB_GETCURSEL, 0, 0));
}

std::wstring TChoix::SpokenLine(int line) {
    if (line < 0 || line >= ListCount()) return {};
    std::wstring spoken = win::AnsiToWide(Line(line));
    const std::string detail = core_.LineDetail(line);
    if (!detail.empty()) spoken += L", " + win::Utf8ToWide(detail);
    return spoken;
}

// The store adds the item before it is said here: its row is the store's last.
void TChoix::AddAndSelect(const std::string&) {
    if (core_.ItemAdded() && Visible()) ListBox1Click();
}

void TChoix::ClearList() {
    core_.StoreCleared();
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

void TChoix::FormShow() {
    FillList([this] { core_.Show(); });
    ::SetForegroundWindow(hwnd());
}

// The list is drawn once, filled: drawn line by line, thousands of items would take seconds.
void TChoix::FillList(const std::function<void()>& fill) {
    ::SendMessageW(List(), WM_SETREDRAW, FALSE, 0);
    const win::scope_exit redraw([this] {
        ::SendMessageW(List(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(List(), nullptr, TRUE);
    });
    fill();
}

// Posted: the listing's thread must not touch the dialog, which may be gone by then.
std::function<void()> TChoix::ListingReadyNotice() {
    return [window = hwnd()] { ::PostMessageW(window, kListingReadyMessage, 0, 0); };
}

// Only an open dialog fills its list now; a hidden one takes the listing at its next showing.
void TChoix::ListingArrived() {
    if (Visible()) FillList([this] { core_.ListingArrived(); });
}

std::function<void()> TChoix::SearchTextsNotice() {
    return [window = hwnd()] { ::PostMessageW(window, kSearchTextsMessage, 0, 0); };
}

// Adopted whether the dialog shows or not; an open one shows what the search finds now, and the
// beginnings of the texts read.
void TChoix::SearchTextsArrived() {
    if (!search_) return;
    search_->TakeTexts();
    if (!Visible()) return;
    FillList([this] { core_.TextsArrived(); });
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

void TChoix::Edit1Change() { core_.Rename(win::WideToAnsi(TextOf(Control("Edit1")))); }

// The list is filled again at each change of the search: once, as at a showing. The field
// emptied by a showing changes nothing.
void TChoix::Edit2Change() {
    const std::string query = win::WideToUtf8(TextOf(Control("Edit2")));
    if (query == core_.Query()) return;
    FillList([&] { core_.Search(query); });
    // Each keystroke shows its list at once.
    ::UpdateWindow(List());
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
// Enter in the search field chooses the item selected in the list.
void TChoix::OnEnterKey() {
    HWND focus = ::GetFocus();
    if (focus == List() || focus == Control("Edit2"))
        core_.KeyDown(ChooserCore::kEnterKey);
    else if (focus == Control("Button1") || focus == Control("Button2") || focus == Control("Button3"))
        ::SendMessageW(focus, BM_CLICK, 0, 0);
}

void TChoix::OnCommand(int id, int code) {
    switch (id) {
    case IDOK: OnEnterKey(); break;
    case IDCANCEL:  // Escape does nothing, but empty the search field that has the focus
        if (::GetFocus() == Control("Edit2")) ::SetWindowTextW(Control("Edit2"), L"");
        break;
    case kButton1:
        if (code == BN_CLICKED) Button1Click();
        break;
    case kButton2:
        // The preview goes on the clipboard: it must be the selected item's.
        if (code == BN_CLICKED) {
            core_.SettlePreview();
            if (core_.PasteEnabled()) Close(ChooserResult::Ok);
        }
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
    case kEdit2:
        if (code == EN_CHANGE) Edit2Change();
        break;
    case kRichEdit1:
        if (code == EN_KILLFOCUS) SaveTextPreview();
        break;
    case kSupprimer1: Supprimer1Click(); break;
    default: break;
    }
}

// The item's name, then in a quieter colour what it holds: the beginning of its text, or its
// size for a picture; each cut with an ellipsis at the line's end.
void TChoix::DrawLine(const DRAWITEMSTRUCT& item) {
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
    constexpr UINT kFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    const std::wstring name = win::AnsiToWide(lines_[item.itemID]);
    RECT measured = text;
    ::DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &measured, kFormat | DT_CALCRECT);
    ::DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text, kFormat);
    const std::wstring detail = win::Utf8ToWide(core_.LineDetail(static_cast<int>(item.itemID)));
    text.left = measured.right + Scaled(8);
    if (!detail.empty() && text.left < text.right) {
        if (!selected) ::SetTextColor(item.hDC, ::GetSysColor(COLOR_GRAYTEXT));
        ::DrawTextW(item.hDC, detail.c_str(), static_cast<int>(detail.size()), &text, kFormat);
    }
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

void TChoix::EmptySearchField() { ::SetWindowTextW(Control("Edit2"), L""); }

void TChoix::PreviewSoon() { ::SetTimer(hwnd(), kPreviewTimer, kPreviewPauseMs, nullptr); }

void TChoix::ShowSearching(bool searching) { ::ShowWindow(Control("Label1"), searching ? SW_SHOWNA : SW_HIDE); }

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
    case kSearchTextsMessage: SearchTextsArrived(); return 0;
    case WM_TIMER:
        if (wParam != kPreviewTimer) break;
        ::KillTimer(hwnd(), kPreviewTimer);
        core_.SettlePreview();
        return 0;
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
