#pragma once
// A child window that shows a picture over a background colour: stretched over its whole box
// (proportions not kept), or at the picture's own size, the window taking that size.
#include <windows.h>

#include "win/picture.h"
#include "win/window.h"

namespace tessera::win {

class PictureBox final : public Window {
public:
    enum class Fit { Stretch, NaturalSize };

    // `style` adds to WS_CHILD (WS_VISIBLE, WS_CLIPSIBLINGS, ...).
    PictureBox(HWND parent, RECT bounds, Fit fit, COLORREF background, DWORD style);

    void SetPicture(Picture picture);
    void Clear() { SetPicture(Picture{}); }
    const Picture& picture() const noexcept { return picture_; }
    // The picture's size in pixels; 0 × 0 when empty.
    SIZE Size() const noexcept { return PictureSize(picture_); }
    // The colour around and under the picture (icons and metafiles leave parts unpainted).
    void SetBackground(COLORREF colour);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;

    Fit fit_;
    COLORREF background_;
    Picture picture_;
};

}  // namespace tessera::win
