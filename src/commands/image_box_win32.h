#pragma once
// TImage: a child window that draws its picture stretched over its whole box, proportions not kept.
#include <windows.h>

#include "win/picture.h"
#include "win/window.h"

namespace tessera {

class TImage final : public win::Window {
public:
    TImage(HWND parent, RECT bounds);

    void SetPicture(win::Picture picture);
    void Clear() { SetPicture(win::Picture{}); }
    const win::Picture& picture() const noexcept { return picture_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    win::Picture picture_;
};

}  // namespace tessera
