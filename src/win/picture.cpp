#include "win/picture.h"

namespace tessera::win {
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
    unique_hbitmap colour(info.hbmColor);
    unique_hbitmap mask(info.hbmMask);
    if (colour) return BitmapSize(colour.get());
    // A monochrome icon keeps its image above its mask in one bitmap twice as high.
    const SIZE both = BitmapSize(mask.get());
    return {both.cx, both.cy / 2};
}

void DrawBitmap(HDC dc, const Picture& picture, const RECT& box) {
    unique_hdc source(::CreateCompatibleDC(dc));
    if (!source) return;
    // The palette goes first, so that a 256-colour picture keeps its colours on a palette display.
    const select_palette palette(dc, picture.palette.get());
    const select_object selected(source.get(), picture.bitmap.get());
    const SIZE size = BitmapSize(picture.bitmap.get());
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (size.cx == width && size.cy == height) {
        ::BitBlt(dc, box.left, box.top, width, height, source.get(), 0, 0, SRCCOPY);
        return;
    }
    // Halftone stretching keeps a shrunk screenshot readable; it needs the brush origin set after it.
    const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin{};
    ::SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    ::StretchBlt(dc, box.left, box.top, width, height, source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
    ::SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode) ::SetStretchBltMode(dc, oldMode);
}

}  // namespace

SIZE PictureSize(const Picture& picture) {
    if (picture.bitmap) return BitmapSize(picture.bitmap.get());
    if (picture.metafile) return MetafileSize(picture.metafile.get());
    if (picture.icon) return IconSize(picture.icon.get());
    return {0, 0};
}

void DrawPicture(HDC dc, const Picture& picture, const RECT& box) {
    if (picture.bitmap) {
        DrawBitmap(dc, picture, box);
    } else if (picture.metafile) {
        ::PlayEnhMetaFile(dc, picture.metafile.get(), &box);
    } else if (picture.icon) {
        ::DrawIconEx(dc, box.left, box.top, picture.icon.get(), box.right - box.left, box.bottom - box.top, 0, nullptr,
                     DI_NORMAL);
    }
}

}  // namespace tessera::win
