#include "app/tray_menu_win32.h"

namespace tessera {

TrayMenuWin32::TrayMenuWin32(HWND commandWindow) : menu_(::CreatePopupMenu()), commandWindow_(commandWindow) {}

std::size_t TrayMenuWin32::ItemCount() const {
    const int count = ::GetMenuItemCount(menu_.get());
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

bool TrayMenuWin32::ItemIsDefault(std::size_t index) const {
    return ::GetMenuDefaultItem(menu_.get(), TRUE, 0) == static_cast<UINT>(index);
}

bool TrayMenuWin32::ItemEnabled(std::size_t index) const {
    const UINT state = ::GetMenuState(menu_.get(), static_cast<UINT>(index), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && !(state & (MF_DISABLED | MF_GRAYED));
}

// Posted, so that the item runs from the message loop as a chosen menu item does.
void TrayMenuWin32::ClickItem(std::size_t index) {
    const UINT id = ::GetMenuItemID(menu_.get(), static_cast<int>(index));
    if (id != static_cast<UINT>(-1)) ::PostMessageW(commandWindow_, WM_COMMAND, id, 0);
}

void TrayMenuWin32::BeforePopup() {
    if (OnPopup) OnPopup();
}

}  // namespace tessera
