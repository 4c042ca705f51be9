#include "app/tray_menu_win32.h"

namespace tessera {

TrayMenuWin32::TrayMenuWin32(HWND commandWindow) : menu_(::CreatePopupMenu()), commandWindow_(commandWindow) {}

TrayMenuWin32::~TrayMenuWin32() {
    if (OnRemoved) OnRemoved(*this);
}

void TrayMenuWin32::AddHiddenItem(int id, bool checked) { hiddenChecks_[id] = checked; }

// A shown item's check mark is the menu's own.
bool TrayMenuWin32::Checked(int id) const {
    if (const auto hidden = hiddenChecks_.find(id); hidden != hiddenChecks_.end()) return hidden->second;
    return (::GetMenuState(menu_.get(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void TrayMenuWin32::SetChecked(int id, bool checked) {
    if (const auto hidden = hiddenChecks_.find(id); hidden != hiddenChecks_.end())
        hidden->second = checked;
    else
        ::CheckMenuItem(menu_.get(), static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

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
