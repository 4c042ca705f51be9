#pragma once
// A picture as the program holds it (a bitmap with its palette, an enhanced metafile or an icon),
// its size and the one way it is drawn.
#include <windows.h>

#include "win/unique_handle.h"

namespace tessera::win {

// One picture: at most one of bitmap, metafile and icon is set; the palette goes with the bitmap.
struct Picture {
    unique_hbitmap bitmap;
    unique_hpalette palette;
    unique_henhmetafile metafile;
    unique_hicon icon;
};

// The picture's size in pixels; 0 × 0 when empty.
SIZE PictureSize(const Picture& picture);

// Draws `picture` over `box`, stretched when the box is not the picture's size; a bitmap through
// its palette, which the device context has back as it was afterwards. An empty picture draws nothing.
void DrawPicture(HDC dc, const Picture& picture, const RECT& box);

}  // namespace tessera::win
