#include "win/modal_scope.h"

namespace tessera::win {

ModalScope::ModalScope(HWND dialog, SIZE outerSize)
    : dialog_(dialog), owner_(::GetWindow(dialog, GW_OWNER)), ownerWasEnabled_(owner_ && ::IsWindowEnabled(owner_)) {
    ::SetWindowPos(dialog_, HWND_TOP, (::GetSystemMetrics(SM_CXSCREEN) - outerSize.cx) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - outerSize.cy) / 2, 0, 0, SWP_NOSIZE);
    if (ownerWasEnabled_) ::EnableWindow(owner_, FALSE);
    ::ShowWindow(dialog_, SW_SHOW);
}

ModalScope::~ModalScope() {
    if (ownerWasEnabled_) ::EnableWindow(owner_, TRUE);
    ::ShowWindow(dialog_, SW_HIDE);
}

}  // namespace tessera::win
