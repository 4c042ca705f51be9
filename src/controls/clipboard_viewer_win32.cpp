#include "controls/clipboard_viewer_win32.h"

#include <string>
#include <utility>

#include "controls/clipboard_reading_win32.h"
#include "controls/component_text.h"
#include "controls/scroll_layout.h"
#include "win/clipboard.h"
#include "win/dpi.h"
#include "win/last_error.h"

namespace tessera {
namespace {

constexpr int kTextViewId = 1;
// A click on a scroll bar's arrow moves the picture this far, at 96 DPI.
constexpr int kScrollLine = 16;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

Extent ClientExtent(HWND hwnd) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    return {client.right, client.bottom};
}

ScrollRequest ScrollRequestOf(int code) {
    switch (code) {
    case SB_LINEUP: return ScrollRequest::LineBack;
    case SB_LINEDOWN: return ScrollRequest::LineForward;
    case SB_PAGEUP: return ScrollRequest::PageBack;
    case SB_PAGEDOWN: return ScrollRequest::PageForward;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollRequest::Track;
    case SB_TOP: return ScrollRequest::Start;
    case SB_BOTTOM: return ScrollRequest::End;
    default: return ScrollRequest::Other;
    }
}

}  // namespace

TClipboardViewer::TClipboardViewer(HWND parent, const RECT& bounds)
    : core_(probe_, ViewerClipboardFormats(), *this), color_(::GetSysColor(COLOR_WINDOW)) {
    background_.reset(::CreateSolidBrush(color_));
    font_ = parent ? reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (!font_) font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    CreateWindowObject(L"TClipboardViewer", WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, L"",
                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, parent);
    probe_.SetOpener(hwnd());
    JoinChain();
}

TClipboardViewer::~TClipboardViewer() {
    // The base class destroys the window with this object already detached from it, so the
    // chain is left here rather than at WM_NCDESTROY.
    LeaveChain();
}

void TClipboardViewer::JoinChain() {
    if (!hwnd()) return;
    // The call delivers a WM_DRAWCLIPBOARD to this window before it returns the follower; the
    // core does not pass that one on.
    core_.Joined(reinterpret_cast<WindowId>(::SetClipboardViewer(hwnd())));
}

void TClipboardViewer::LeaveChain() {
    if (const auto follower = core_.Leave(); follower && hwnd())
        ::ChangeClipboardChain(hwnd(), reinterpret_cast<HWND>(*follower));
}

HWND TClipboardViewer::ChildWindow() const noexcept {
    if (textView_) return textView_.get();
    if (pictureView_) return pictureView_->hwnd();
    if (paletteGrid_) return paletteGrid_->hwnd();
    return nullptr;
}

void TClipboardViewer::SetBounds(const RECT& bounds) {
    ::SetWindowPos(hwnd(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TClipboardViewer::SetColor(COLORREF color) {
    color_ = color;
    background_.reset(::CreateSolidBrush(color_));
    if (pictureView_) pictureView_->SetBackground(color_);
    if (hwnd()) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

// The next viewer belongs to another program: a blocking send would freeze this thread (hot keys,
// menus, captures) for as long as that program hangs. A live viewer answers within milliseconds,
// and one busy for up to a second still gets the notification; a hung one costs at most a second
// each time, and nothing once the system counts it as hung (5 s without reading its messages).
// Like a blocking send, this one handles the messages sent to this thread while it waits, so a
// chain change sent back meanwhile cannot deadlock. The answer is ignored.
void TClipboardViewer::PassToNextViewer(WindowId next, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    constexpr UINT kNextViewerTimeoutMs = 1000;
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(reinterpret_cast<HWND>(next), message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kNextViewerTimeoutMs, &ignored);
}

void TClipboardViewer::FireChange() {
    if (OnChange) OnChange();
}

void TClipboardViewer::DestroyChild() {
    textView_.reset();
    pictureView_.reset();
    paletteGrid_.reset();
    scroll_ = {0, 0};
}

void TClipboardViewer::RebuildView() {
    // The new child is laid out once, when it is complete, and also when building it fails.
    layoutSuspended_ = true;
    win::scope_exit resume([this] {
        layoutSuspended_ = false;
        LayoutChild();
    });
    DestroyChild();
    // Hidden, the panel neither reads the clipboard's content nor builds a view of it: another
    // program's picture would be copied for nobody to see. The view is built at the next paint,
    // which comes when the panel is shown again.
    viewStale_ = !::IsWindowVisible(hwnd());
    if (viewStale_) return;
    const auto v = PlanView(probe_, core_.Registered(), core_.ViewFormat());
    if (!v) return;  // an empty clipboard shows the background only
    switch (ViewKindOf(*v)) {
    case ViewKind::Text: BuildTextView(*v); break;
    case ViewKind::Picture: BuildPictureView(*v); break;
    case ViewKind::Palette: BuildPaletteView(); break;
    case ViewKind::Component: BuildComponentView(); break;
    }
}

HFONT TClipboardViewer::TerminalFont() {
    if (!terminalFont_) {
        // The panel's font with the OEM face: same size, OEM characters.
        LOGFONTA face{};
        ::GetObjectA(font_, sizeof face, &face);
        face.lfCharSet = OEM_CHARSET;
        face.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        ::lstrcpynA(face.lfFaceName, "Terminal", LF_FACESIZE);
        terminalFont_.reset(::CreateFontIndirectA(&face));
    }
    return terminalFont_ ? terminalFont_.get() : font_;
}

HWND TClipboardViewer::CreateTextControl(bool oemFont) {
    const Extent client = ClientExtent(hwnd());
    textView_.reset(::CreateWindowExW(
        0, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0, 0,
        client.width, client.height, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextViewId)),
        ::GetModuleHandleW(nullptr), nullptr));
    if (!textView_) win::ThrowLastError("CreateWindowExW");
    HWND edit = textView_.get();
    textInTerminalFont_ = oemFont;
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(oemFont ? TerminalFont() : font_), FALSE);
    // No limit below the system's: a long text is shown whole.
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    return edit;
}

void TClipboardViewer::BuildTextView(TClipboardViewFormat v) {
    HWND edit = CreateTextControl(v == cvOemText);
    switch (ChooseTextSource(v, probe_, core_.Registered())) {
    case TextSource::ClipboardText:
        // The control's own paste: it opens the clipboard itself and takes the text as is.
        ::SendMessageW(edit, WM_PASTE, 0, 0);
        break;
    case TextSource::ComponentText:
        ::SetWindowTextA(edit,
                         JoinLines(ComponentToText(ReadClipboardBlock(hwnd(), core_.Registered().component))).c_str());
        break;
    case TextSource::EmptyNotice: ::SetWindowTextA(edit, kEmptyClipboardText); break;
    case TextSource::UnknownNotice: ::SetWindowTextA(edit, kUnknownFormatText); break;
    }
    // Read-only only now: a read-only edit control refuses to paste.
    ::SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
}

void TClipboardViewer::BuildPictureView(TClipboardViewFormat v) {
    // The view exists before its picture is read: when reading fails it stays, empty.
    pictureView_ = std::make_unique<win::PictureBox>(hwnd(), RECT{0, 0, 0, 0}, win::PictureBox::Fit::NaturalSize,
                                                     color_, WS_VISIBLE);
    switch (ChoosePictureSource(v, probe_, core_.Registered())) {
    case PictureSource::IconFormat: {
        win::Picture picture;
        picture.icon = ReadClipboardIcon(hwnd(), core_.Registered().icon);
        pictureView_->SetPicture(std::move(picture));
        break;
    }
    case PictureSource::ClipboardPicture:
        pictureView_->SetPicture(LoadClipboardPicture(hwnd(), core_.Registered()));
        break;
    case PictureSource::Nothing: break;
    }
}

void TClipboardViewer::BuildPaletteView() {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    // Until the palette is shown the grid is not the viewer's: a failure destroys it.
    auto grid = std::make_unique<TPaletteGrid>(hwnd(), client);
    {
        win::ClipboardScope open(hwnd());
        grid->ShowPalette(static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE)));
    }
    paletteGrid_ = std::move(grid);
}

void TClipboardViewer::BuildComponentView() {
    // Components are kept in their text form, so the view is always the text of the component.
    const std::string block = ReadClipboardBlock(hwnd(), core_.Registered().component);
    HWND edit = CreateTextControl(false);
    ::SetWindowTextA(edit, JoinLines(ComponentToText(block)).c_str());
    ::SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
}

void TClipboardViewer::LayoutChild() noexcept {
    if (layoutSuspended_ || inLayout_ || !hwnd()) return;
    // Showing or hiding a scroll bar resizes the client, which comes back here.
    inLayout_ = true;
    const int dpi = win::WindowDpi(hwnd());
    const Extent bar{win::SystemMetricForDpi(SM_CXVSCROLL, dpi), win::SystemMetricForDpi(SM_CYHSCROLL, dpi)};
    const LONG style = ::GetWindowLongW(hwnd(), GWL_STYLE);
    Extent bare = ClientExtent(hwnd());
    if (style & WS_VSCROLL) bare.width += bar.width;
    if (style & WS_HSCROLL) bare.height += bar.height;

    // Only a picture keeps its own size; the other views fill the panel.
    Extent content;
    if (pictureView_) content = {pictureView_->Size().cx, pictureView_->Size().cy};
    const ScrollBarFit fit = FitScrollBars(bare, content, bar);
    if (fit.horizontal != ((style & WS_HSCROLL) != 0)) ::ShowScrollBar(hwnd(), SB_HORZ, fit.horizontal);
    if (fit.vertical != ((style & WS_VSCROLL) != 0)) ::ShowScrollBar(hwnd(), SB_VERT, fit.vertical);
    const Extent client = ClientExtent(hwnd());

    scroll_.x = fit.horizontal ? ClampScrollPosition(scroll_.x, client.width, content.width) : 0;
    scroll_.y = fit.vertical ? ClampScrollPosition(scroll_.y, client.height, content.height) : 0;
    auto setBar = [this](int bar, int contentLength, int clientLength, int position) {
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | SIF_POS,
                        0,
                        contentLength - 1,
                        static_cast<UINT>(clientLength),
                        position,
                        0};
        ::SetScrollInfo(hwnd(), bar, &info, TRUE);
    };
    if (fit.horizontal) setBar(SB_HORZ, content.width, client.width, scroll_.x);
    if (fit.vertical) setBar(SB_VERT, content.height, client.height, scroll_.y);

    if (pictureView_) {
        const Offset at = CentreChild(client, content);
        ::SetWindowPos(pictureView_->hwnd(), nullptr, at.x - scroll_.x, at.y - scroll_.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (HWND child = ChildWindow()) {
        ::SetWindowPos(child, nullptr, 0, 0, client.width, client.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    inLayout_ = false;
}

void TClipboardViewer::OnScroll(int bar, int code) {
    if (!pictureView_) return;
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    if (!::GetScrollInfo(hwnd(), bar, &info)) return;
    const SIZE size = pictureView_->Size();
    LONG& position = bar == SB_HORZ ? scroll_.x : scroll_.y;
    position =
        ScrollTarget(ScrollRequestOf(code), {static_cast<int>(position), info.nTrackPos, static_cast<int>(info.nPage),
                                             static_cast<int>(bar == SB_HORZ ? size.cx : size.cy),
                                             win::ScaleToDpi(kScrollLine, win::WindowDpi(hwnd()))});
    LayoutChild();
}

LRESULT TClipboardViewer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWCLIPBOARD: core_.OnDrawClipboard(wParam, lParam); return Window::HandleMessage(message, wParam, lParam);
    case WM_DESTROYCLIPBOARD: core_.OnDestroyClipboard(); return 0;
    case WM_CHANGECBCHAIN:
        core_.OnChangeCbChain(static_cast<WindowId>(wParam), static_cast<WindowId>(lParam));
        return Window::HandleMessage(message, wParam, lParam);
    case WM_SIZE:
        Window::HandleMessage(message, wParam, lParam);
        LayoutChild();
        return 0;
    case WM_PAINT:
        if (viewStale_) RebuildView();
        return Window::HandleMessage(message, wParam, lParam);
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        // A read-only edit control asks as a static one would; the text view keeps the
        // colours of an ordinary text control.
        if (textView_ && reinterpret_cast<HWND>(lParam) == textView_.get()) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        }
        return Window::HandleMessage(message, wParam, lParam);
    case WM_SETFONT: {
        // The text view follows the panel's font; the OEM font is made again at the new size.
        font_ = reinterpret_cast<HFONT>(wParam);
        const win::unique_hfont oldTerminalFont = std::move(terminalFont_);  // until the view lets go
        if (textView_) {
            const HFONT font = textInTerminalFont_ ? TerminalFont() : font_;
            ::SendMessageW(textView_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), lParam);
        }
        return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_NCDESTROY:
        // Destroyed with its parent: the children are gone already.
        LeaveChain();
        textView_.release();
        pictureView_.reset();
        paletteGrid_.reset();
        return Window::HandleMessage(message, wParam, lParam);
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessera
