#pragma once
// The picture view: a child window sized to its picture that draws a bitmap (with its palette),
// an enhanced metafile or an icon.
#include <windows.h>

#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera {

// One picture: at most one of bitmap, metafile and icon is set; the palette goes with the bitmap.
struct Picture {
    win::unique_hbitmap bitmap;
    win::unique_hpalette palette;
    win::unique_henhmetafile metafile;
    win::unique_hicon icon;
};

// The picture's size in pixels; 0 × 0 when empty.
SIZE PictureSize(const Picture& picture);

class TPictureView final : public win::Window {
public:
    // An empty view at the parent's client origin.
    TPictureView(HWND parent, COLORREF background);

    // Shows `picture` and takes its size.
    void SetPicture(Picture picture);
    SIZE Size() const noexcept { return size_; }
    // The colour around and under the picture (icons have transparent parts).
    void SetBackground(COLORREF colour);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintContent(HDC dc);

    Picture picture_;
    SIZE size_{0, 0};
    COLORREF background_;
};

}  // namespace tessera
