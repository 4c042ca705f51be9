#include "commands/image_box_win32.h"

#include <utility>

#include "win/unique_handle.h"

namespace tessera {

TImage::TImage(HWND parent, RECT bounds) {
    CreateWindowObject(L"TesseraImage", 0, L"", WS_CHILD | WS_CLIPSIBLINGS, bounds.left, bounds.top,
                       bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
}

void TImage::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

// Halftone stretching keeps a shrunk screenshot readable; the palette goes first so that a
// 256-colour picture keeps its colours on a palette display.
void TImage::Paint(HDC dc, const RECT& box) const {
    ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_BTNFACE));
    if (picture_.bitmap) {
        HPALETTE oldPalette = nullptr;
        if (picture_.palette) {
            oldPalette = ::SelectPalette(dc, picture_.palette.get(), FALSE);
            ::RealizePalette(dc);
        }
        BITMAP info{};
        ::GetObjectW(picture_.bitmap.get(), sizeof info, &info);
        win::unique_hdc source(::CreateCompatibleDC(dc));
        {
            const win::select_object selected(source.get(), picture_.bitmap.get());
            ::SetStretchBltMode(dc, HALFTONE);
            ::SetBrushOrgEx(dc, 0, 0, nullptr);
            ::StretchBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, source.get(), 0, 0,
                         info.bmWidth, info.bmHeight, SRCCOPY);
        }
        if (oldPalette) ::SelectPalette(dc, oldPalette, FALSE);
    } else if (picture_.metafile) {
        ::PlayEnhMetaFile(dc, picture_.metafile.get(), &box);
    } else if (picture_.icon) {
        ::DrawIconEx(dc, box.left, box.top, picture_.icon.get(), box.right - box.left, box.bottom - box.top, 0, nullptr,
                     DI_NORMAL);
    }
}

LRESULT TImage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT, without flicker
    case WM_PAINT: {
        win::paint_scope paint(hwnd());
        RECT box{};
        ::GetClientRect(hwnd(), &box);
        Paint(paint.dc(), box);
        return 0;
    }
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessera
