#pragma once
// TImage: a child window that draws its picture stretched over its whole box, proportions not kept.
#include <windows.h>

#include "controls/picture_view_win32.h"
#include "win/window.h"

namespace tessera {

class TImage final : public win::Window {
public:
    TImage(HWND parent, RECT bounds);

    void SetPicture(Picture picture);
    void Clear() { SetPicture(Picture{}); }
    const Picture& picture() const noexcept { return picture_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& box) const;

    Picture picture_;
};

}  // namespace tessera
