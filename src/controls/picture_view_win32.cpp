#include "controls/picture_view_win32.h"

#include <utility>

namespace tessera {

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

SIZE MetafileSize(HENHMETAFILE metafile) {
    ENHMETAHEADER header{};
    if (!::GetEnhMetaFileHeader(metafile, sizeof header, &header)) return {0, 0};
    // The frame is in 0.01 mm; the reference device says how many pixels a millimetre takes.
    const LONG frameWidth = header.rclFrame.right - header.rclFrame.left;
    const LONG frameHeight = header.rclFrame.bottom - header.rclFrame.top;
    if (frameWidth > 0 && frameHeight > 0 && header.szlMillimeters.cx > 0 && header.szlMillimeters.cy > 0) {
        return {::MulDiv(frameWidth, header.szlDevice.cx, header.szlMillimeters.cx * 100),
                ::MulDiv(frameHeight, header.szlDevice.cy, header.szlMillimeters.cy * 100)};
    }
    // A metafile without a frame: the bounds of what it draws, which are inclusive.
    return {header.rclBounds.right - header.rclBounds.left + 1, header.rclBounds.bottom - header.rclBounds.top + 1};
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return {0, 0};
    win::unique_hbitmap colour(info.hbmColor);
    win::unique_hbitmap mask(info.hbmMask);
    if (colour) return BitmapSize(colour.get());
    // A monochrome icon keeps its image above its mask in one bitmap twice as high.
    const SIZE both = BitmapSize(mask.get());
    return {both.cx, both.cy / 2};
}

}  // namespace

SIZE PictureSize(const Picture& picture) {
    if (picture.bitmap) return BitmapSize(picture.bitmap.get());
    if (picture.metafile) return MetafileSize(picture.metafile.get());
    if (picture.icon) return IconSize(picture.icon.get());
    return {0, 0};
}

TPictureView::TPictureView(HWND parent, COLORREF background) : background_(background) {
    CreateWindowObject(L"TesseraPictureView", 0, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent);
}

void TPictureView::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    size_ = PictureSize(picture_);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, size_.cx, size_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TPictureView::SetBackground(COLORREF colour) {
    background_ = colour;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TPictureView::PaintContent(HDC dc) {
    const RECT area{0, 0, size_.cx, size_.cy};
    if (picture_.bitmap) {
        win::unique_hdc memory(::CreateCompatibleDC(dc));
        if (!memory) return;
        HPALETTE oldPalette = nullptr;
        if (picture_.palette) {
            oldPalette = ::SelectPalette(dc, picture_.palette.get(), FALSE);
            ::RealizePalette(dc);
        }
        {
            win::select_object bitmap(memory.get(), picture_.bitmap.get());
            ::BitBlt(dc, 0, 0, size_.cx, size_.cy, memory.get(), 0, 0, SRCCOPY);
        }
        if (oldPalette) ::SelectPalette(dc, oldPalette, TRUE);
    } else if (picture_.metafile) {
        ::PlayEnhMetaFile(dc, picture_.metafile.get(), &area);
    } else if (picture_.icon) {
        ::DrawIconEx(dc, 0, 0, picture_.icon.get(), size_.cx, size_.cy, 0, nullptr, DI_NORMAL);
    }
}

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
