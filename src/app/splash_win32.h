#pragma once
// TLogo, the splash screen: the program's picture, shown centred while the program starts.
#include <windows.h>

#include "app/sleeper_win32.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera {

class TLogo final : public win::Window {
public:
    static constexpr int kClientWidth = 360;
    static constexpr int kClientHeight = 300;

    // Creates the hidden splash, in French or (`english`) in English; its Sleeper waits 2000 ms.
    explicit TLogo(bool english = false);

    TSleeper Sleeper;

    // Shows the splash and paints it at once (the message loop is not running yet).
    void ShowNow();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    win::unique_hbitmap image1_;
};

}  // namespace tessera
