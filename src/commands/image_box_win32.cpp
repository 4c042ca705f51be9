#include "commands/image_box_win32.h"

#include <utility>

#include "win/unique_handle.h"

namespace tessera {

TImage::TImage(HWND parent, RECT bounds) {
    CreateWindowObject(L"TesseraImage", 0, L"", WS_CHILD | WS_CLIPSIBLINGS, bounds.left, bounds.top,
                       bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
}

void TImage::SetPicture(win::Picture picture) {
    picture_ = std::move(picture);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT TImage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT, without flicker
    case WM_PAINT: {
        win::paint_scope paint(hwnd());
        RECT box{};
        ::GetClientRect(hwnd(), &box);
        ::FillRect(paint.dc(), &box, ::GetSysColorBrush(COLOR_BTNFACE));
        win::DrawPicture(paint.dc(), picture_, box);
        return 0;
    }
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessera
