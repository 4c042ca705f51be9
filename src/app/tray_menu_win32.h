#pragma once
// A Win32 pop-up menu as the tray icon sees it: its items, and its commands sent to one window.
#include <windows.h>

#include <functional>

#include "controls/tray_icon.h"
#include "win/unique_handle.h"

namespace tessera {

class TrayMenuWin32 final : public TrayMenu {
public:
    // `commandWindow` gets WM_COMMAND with the chosen item's id.
    explicit TrayMenuWin32(HWND commandWindow);

    HMENU menu() const noexcept { return menu_.get(); }
    // Runs just before the menu opens.
    std::function<void()> OnPopup;

    bool AutoPopup() const override { return true; }
    std::size_t ItemCount() const override;
    bool ItemIsDefault(std::size_t index) const override;
    bool ItemEnabled(std::size_t index) const override;
    void ClickItem(std::size_t index) override;
    void SetPopupComponent(const void*) override {}
    void BeforePopup() override;
    TrayMenuId Handle() const override { return reinterpret_cast<TrayMenuId>(menu_.get()); }
    TrayWindowId CommandWindow() const override { return reinterpret_cast<TrayWindowId>(commandWindow_); }

private:
    win::unique_hmenu menu_;
    HWND commandWindow_;
};

}  // namespace tessera
