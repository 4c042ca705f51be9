#include "app/url_label_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "app/link_target.h"
#include "win/application.h"
#include "win/clipboard.h"
#include "win/last_error.h"

namespace tessera {
namespace {

constexpr UINT_PTR kSubclassId = 0x55524C;  // "URL"
constexpr UINT kCopyItem = 1;

// The program's own hand when its resources have one; the system's otherwise. Both are shared
// cursors, never destroyed.
HCURSOR HandCursor() {
    static const HCURSOR cursor = [] {
        HCURSOR own = ::LoadCursorW(::GetModuleHandleW(nullptr), L"HAND");
        return own ? own : ::LoadCursorW(nullptr, IDC_HAND);
    }();
    return cursor;
}

void ShellOpen(const std::string& target) {
    // Nothing is reported when the shell cannot open the target.
    ::ShellExecuteA(::GetDesktopWindow(), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

TUrlLabel::TUrlLabel(HWND label) : Open(ShellOpen), label_(label) {
    MakeLinkFont(reinterpret_cast<HFONT>(::SendMessageW(label_, WM_GETFONT, 0, 0)));
    menu_.reset(::CreatePopupMenu());
    if (!menu_) win::ThrowLastError("CreatePopupMenu");
    ::AppendMenuW(menu_.get(), MF_STRING, kCopyItem, L"Copy");
    if (!::SetWindowSubclass(label_, &TUrlLabel::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        win::ThrowLastError("SetWindowSubclass");
    ::InvalidateRect(label_, nullptr, TRUE);
}

TUrlLabel::~TUrlLabel() { Detach(); }

void TUrlLabel::Detach() {
    if (!label_) return;
    ::RemoveWindowSubclass(label_, &TUrlLabel::SubclassProc, kSubclassId);
    label_ = nullptr;
}

// The label's own font, underlined.
void TUrlLabel::MakeLinkFont(HFONT base) {
    LOGFONTW lf{};
    if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::GetObjectW(base, sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    font_.reset(::CreateFontIndirectW(&lf));
}

std::string TUrlLabel::Caption() const {
    if (!label_) return {};
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(label_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(label_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TUrlLabel::SetFontColor(COLORREF color) {
    color_ = color;
    if (label_) ::InvalidateRect(label_, nullptr, TRUE);
}

void TUrlLabel::Click() {
    if (OnClick) OnClick();
    const std::string target = LinkTarget(URL, Caption());
    if (!target.empty() && Open) Open(target);
}

void TUrlLabel::CopyClick() {
    const std::string text = Caption();
    win::unique_hglobal mem = win::GlobalCopy(text.c_str(), text.size() + 1);
    if (!mem) win::ThrowLastError("GlobalAlloc");
    const win::ClipboardScope clipboard(label_);
    ::EmptyClipboard();
    win::GiveToClipboard(CF_TEXT, std::move(mem));
}

void TUrlLabel::ShowMenu(LPARAM at) {
    POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        // From the keyboard: under the label's top left corner.
        RECT r{};
        ::GetWindowRect(label_, &r);
        p = {r.left, r.bottom};
    }
    // The menu closes when the user clicks elsewhere only if the window behind it is in the foreground.
    ::SetForegroundWindow(::GetAncestor(label_, GA_ROOT));
    const UINT chosen =
        static_cast<UINT>(::TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, label_, nullptr));
    if (chosen == kCopyItem) CopyClick();
}

void TUrlLabel::Paint() {
    win::paint_scope paint(label_);
    HDC dc = paint.dc();
    RECT r{};
    ::GetClientRect(label_, &r);
    // The parent chooses the background, as it does for its other labels.
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
        ::GetParent(label_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label_)));
    ::FillRect(dc, &r, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(label_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(label_, text.data(), static_cast<int>(text.size()))));
    const win::select_object font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color_);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_WORDBREAK);
}

LRESULT TUrlLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        // A plain label lets the mouse through to its parent.
        return HTCLIENT;
    case WM_SETCURSOR: ::SetCursor(HandCursor()); return TRUE;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        savedColor_ = color_;
        SetFontColor(ActiveColor);
        ::SetCapture(label_);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        SetFontColor(savedColor_);
        if (::GetCapture() == label_) ::ReleaseCapture();
        // A click is a release over the label, as with a button.
        RECT r{};
        ::GetClientRect(label_, &r);
        if (::PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) Click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press: no release will come.
        if (pressed_) {
            pressed_ = false;
            SetFontColor(savedColor_);
        }
        return 0;
    case WM_CONTEXTMENU: ShowMenu(lParam); return 0;
    case WM_SETFONT: {
        const LRESULT result = ::DefSubclassProc(label_, message, wParam, lParam);
        MakeLinkFont(reinterpret_cast<HFONT>(wParam));
        return result;
    }
    case WM_SETTEXT: {
        // The label may draw its new text at once, in its own way: draw it over as a link.
        const LRESULT result = ::DefSubclassProc(label_, message, wParam, lParam);
        ::InvalidateRect(label_, nullptr, TRUE);
        return result;
    }
    case WM_PAINT: Paint(); return 0;
    case WM_NCDESTROY: {
        HWND h = label_;
        Detach();
        return ::DefSubclassProc(h, message, wParam, lParam);
    }
    default: return ::DefSubclassProc(label_, message, wParam, lParam);
    }
}

LRESULT CALLBACK TUrlLabel::SubclassProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    try {
        return reinterpret_cast<TUrlLabel*>(self)->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing unwinds through Windows code.
        win::Application::Instance().ShowCurrentException();
        return ::DefSubclassProc(h, message, wParam, lParam);
    }
}

}  // namespace tessera
