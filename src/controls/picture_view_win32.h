#pragma once
// The picture view: a child window sized to its picture that draws it at its own size.
#include <windows.h>

#include "win/picture.h"
#include "win/window.h"

namespace tessera {

class TPictureView final : public win::Window {
public:
    // An empty view at the parent's client origin.
    TPictureView(HWND parent, COLORREF background);

    // Shows `picture` and takes its size.
    void SetPicture(win::Picture picture);
    SIZE Size() const noexcept { return size_; }
    // The colour around and under the picture (icons have transparent parts).
    void SetBackground(COLORREF colour);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintContent(HDC dc);

    win::Picture picture_;
    SIZE size_{0, 0};
    COLORREF background_;
};

}  // namespace tessera
