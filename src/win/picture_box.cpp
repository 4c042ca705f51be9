#include "win/picture_box.h"

#include <utility>

#include "win/unique_handle.h"

namespace tessera::win {

PictureBox::PictureBox(HWND parent, RECT bounds, Fit fit, COLORREF background, DWORD style)
    : fit_(fit), background_(background) {
    CreateWindowObject(L"TesseraPictureBox", 0, L"", WS_CHILD | style, bounds.left, bounds.top,
                       bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
}

void PictureBox::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    if (fit_ == Fit::NaturalSize) {
        const SIZE size = Size();
        ::SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::SetBackground(COLORREF colour) {
    background_ = colour;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

// The background and the picture in one go, without the flicker of a separate erase.
void PictureBox::Paint(HDC dc) const {
    RECT box{};
    ::GetClientRect(hwnd(), &box);
    const unique_hbrush brush(::CreateSolidBrush(background_));
    ::FillRect(dc, &box, brush.get());
    const SIZE size = Size();
    DrawPicture(dc, picture_, fit_ == Fit::Stretch ? box : RECT{0, 0, size.cx, size.cy});
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        paint_scope paint(hwnd());
        Paint(paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessera::win
