#include "controls/picture_view_win32.h"

#include <utility>

namespace tessera {

TPictureView::TPictureView(HWND parent, COLORREF background) : background_(background) {
    CreateWindowObject(L"TesseraPictureView", 0, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent);
}

void TPictureView::SetPicture(win::Picture picture) {
    picture_ = std::move(picture);
    size_ = win::PictureSize(picture_);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, size_.cx, size_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TPictureView::SetBackground(COLORREF colour) {
    background_ = colour;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TPictureView::PaintContent(HDC dc) { win::DrawPicture(dc, picture_, {0, 0, size_.cx, size_.cy}); }

LRESULT TPictureView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        // Icons and metafiles leave parts unpainted: those show the viewer's colour.
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        win::unique_hbrush brush(::CreateSolidBrush(background_));
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
        return 1;
    }
    case WM_PAINT: {
        win::paint_scope paint(hwnd());
        PaintContent(paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT: PaintContent(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessera
