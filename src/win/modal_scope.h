#pragma once
// A dialog's modal showing: centred on the screen and shown, its owner disabled meanwhile.
#include <windows.h>

namespace tessera::win {

class ModalScope {
public:
    // Centres `dialog` (whose window is `outerSize`) on the screen, disables its owner and shows it.
    ModalScope(HWND dialog, SIZE outerSize);
    // Enables the owner again before the dialog hides, so that the system activates the owner
    // rather than some other program.
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND dialog_;
    HWND owner_;
    bool ownerWasEnabled_;
};

}  // namespace tessera::win
