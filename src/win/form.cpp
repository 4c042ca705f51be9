#include "win/form.h"

#include <algorithm>
#include <utility>

#include "win/application.h"
#include "win/dpi.h"
#include "win/modal_scope.h"

namespace tessera::win {
namespace {

// Windows 10 1703 and later ask the size a window wants at a new DPI before WM_DPICHANGED.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

}  // namespace

Form::Form(const FormDescription& description)
    : clientSize_(description.clientSize),
      style_(description.style),
      exStyle_(description.exStyle),
      rows_(description.controls),
      iconName_(description.iconName) {
    // Made at the origin, on the primary monitor; sized once its DPI is known.
    CreateWindowObject(description.className, exStyle_, L"", style_, 0, 0, 0, 0, description.owner);
    controls_.Create(hwnd(), rows_, WindowDpi(hwnd()));
    const SIZE outer = OuterSizeAt(Dpi());
    ::SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    LoadIcons();
    selfSizing_ = false;
}

SIZE Form::OuterSize() const {
    RECT r{};
    ::GetWindowRect(hwnd(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The frame is measured rather than trusted: Wine, for one, draws every frame at the system's
// DPI whatever the window's, and Windows' suggested rectangle may be a pixel off.
void Form::FitClientArea() {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const SIZE user = UserSize();
    const RECT wanted = ScaleToDpi(RECT{0, 0, user.cx, user.cy}, Dpi());
    if (client.right == wanted.right && client.bottom == wanted.bottom) return;
    const SIZE outer = OuterSize();
    ::SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx + wanted.right - client.right,
                   outer.cy + wanted.bottom - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Form::OuterSizeAt(int dpi) const {
    const SIZE user = UserSize();
    const RECT client = ScaleToDpi(RECT{0, 0, user.cx, user.cy}, dpi);
    const RECT r = WindowRectForDpi(client, style_, exStyle_, dpi);
    return {r.right - r.left, r.bottom - r.top};
}

// The caption's icon and the task switcher's, each at the size Windows shows it at this DPI.
void Form::LoadIcons() {
    if (!iconName_) return;
    unique_hicon big = LoadIconForDpi(iconName_, SM_CXICON, Dpi());
    unique_hicon little = LoadIconForDpi(iconName_, SM_CXSMICON, Dpi());
    ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little.get()));
    // The window holds the new icons now: the old ones may go.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(little);
}

SIZE Form::GrowthAt(int dpi) const {
    const RECT user = ScaleToDpi(RECT{0, 0, UserSize().cx, UserSize().cy}, dpi);
    const RECT designed = ScaleToDpi(RECT{0, 0, clientSize_.cx, clientSize_.cy}, dpi);
    return {user.right - designed.right, user.bottom - designed.bottom};
}

void Form::SetUserSize(SIZE size) {
    if (!Sizable()) return;
    extra_ = {std::max<LONG>(size.cx - clientSize_.cx, 0), std::max<LONG>(size.cy - clientSize_.cy, 0)};
    selfSizing_ = true;
    const SIZE outer = OuterSizeAt(Dpi());
    ::SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    selfSizing_ = false;
    controls_.SetGrowth(GrowthAt(Dpi()));
}

// The user's extra size is kept at 96 DPI, so that it scales with the form; the controls take
// the growth of the client area as it is. While the form sizes itself, on the way to a size it
// knows, the steps between say nothing of the user's.
void Form::Resized(SIZE client) {
    if (selfSizing_) return;
    const RECT designed = ScaleToDpi(RECT{0, 0, clientSize_.cx, clientSize_.cy}, Dpi());
    const SIZE growth{std::max<LONG>(client.cx - designed.right, 0), std::max<LONG>(client.cy - designed.bottom, 0)};
    extra_ = {::MulDiv(growth.cx, kDesignDpi, Dpi()), ::MulDiv(growth.cy, kDesignDpi, Dpi())};
    controls_.SetGrowth(growth);
}

void Form::SetDpi(int dpi) {
    controls_.SetGrowth(GrowthAt(dpi));
    controls_.SetDpi(dpi);
    LoadIcons();
    DpiChanged();
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

ModalResult Form::ShowModal() {
    modalResult_.reset();
    const ModalScope modal(hwnd(), OuterSize());
    ModalShowing();
    Application::Instance().RunModalLoop(hwnd(), [this] { return modalResult_.has_value(); });
    ModalClosing();
    return modalResult_.value_or(ModalResult::Cancel);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = controls_.ColourFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        for (const ControlRow& row : rows_)
            if (item.CtlType == ODT_LISTBOX && row.className && row.id == static_cast<int>(item.CtlID)) {
                item.itemHeight = static_cast<UINT>(controls_.LineHeight(row));
                return TRUE;
            }
        break;
    }
    case kGetDpiScaledSize:
        // The exact size at the new DPI, rather than the window's size scaled with its frame.
        *reinterpret_cast<SIZE*>(lParam) = OuterSizeAt(static_cast<int>(wParam));
        return TRUE;
    case WM_DPICHANGED: {
        // Moved to a monitor of another DPI, or the DPI changed: the form takes the new DPI and
        // the rectangle Windows suggests, which keeps it where the user put it.
        selfSizing_ = true;
        SetDpi(HIWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                       suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        FitClientArea();
        selfSizing_ = false;
        controls_.SetGrowth(GrowthAt(Dpi()));
        return 0;
    }
    case WM_GETMINMAXINFO:
        if (Sizable()) {
            // The frame as the window has it now (see FitClientArea), around the designed client.
            RECT window{}, client{};
            ::GetWindowRect(hwnd(), &window);
            ::GetClientRect(hwnd(), &client);
            const RECT designed = ScaleToDpi(RECT{0, 0, clientSize_.cx, clientSize_.cy}, Dpi());
            auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
            info.ptMinTrackSize = {designed.right + (window.right - window.left) - client.right,
                                   designed.bottom + (window.bottom - window.top) - client.bottom};
            return 0;
        }
        break;
    case WM_SIZE:
        if (Sizable() && wParam != SIZE_MINIMIZED) Resized({LOWORD(lParam), HIWORD(lParam)});
        break;
    case WM_CLOSE:
        // The close box, or another program asking: a form hides with Cancel rather than going.
        EndModal(ModalResult::Cancel);
        return 0;
    default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera::win
