#pragma once
// A Win32 pop-up menu as the tray icon sees it: its items, and its commands sent to one window.
#include <windows.h>

#include <functional>
#include <map>

#include "controls/tray_icon.h"
#include "win/unique_handle.h"

namespace tessera {

class TrayMenuWin32 final : public TrayMenu {
public:
    // `commandWindow` gets WM_COMMAND with the chosen item's id.
    explicit TrayMenuWin32(HWND commandWindow);

    ~TrayMenuWin32() override;

    HMENU menu() const noexcept { return menu_.get(); }
    // Runs just before the menu opens.
    std::function<void()> OnPopup;
    // Runs as the menu is destroyed, so that whoever shows it forgets it.
    std::function<void(const TrayMenu&)> OnRemoved;

    // An item that is never shown (Windows menus have no hidden items): it keeps its check mark
    // and can be run by its id, and the shown items know nothing of it.
    void AddHiddenItem(int id, bool checked);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);

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
    std::map<int, bool> hiddenChecks_;
    HWND commandWindow_;
};

}  // namespace tessera
