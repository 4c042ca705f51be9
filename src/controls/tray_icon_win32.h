#pragma once
// The tray icon on Windows: the hidden trayWindow, Shell_NotifyIconA, the menu and the sleep of
// the animation thread, around the portable TTrayIcon.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "controls/icon_list.h"
#include "controls/tray_icon.h"
#include "win/window.h"

namespace tessera {

// Native icons made from icon file images, at the notification area's size (the small icon's).
class IconMakerWin32 : public IconMaker {
public:
    IconHandle Make(std::span<const std::uint8_t> image) override;
    void Free(IconHandle handle) override;
};

// The icon file image of an icon group resource of `module` (.ico layout, images in order);
// empty when there is no such resource.
std::vector<std::uint8_t> LoadIconImage(HMODULE module, const wchar_t* name);

// Gives `tray` the still icon and the animation frames from icon resources of `module`.
void SetIconsFromResources(TTrayIcon& tray, HMODULE module, const wchar_t* still,
                           std::initializer_list<const wchar_t*> frames);

// The shift state now: shift, control and alt from the keyboard state.
TShiftState ShiftStateNow();

class TrayIconWin32 : private NotificationArea {
public:
    TrayIconWin32();
    ~TrayIconWin32() override;

    TTrayIcon& Tray() noexcept { return *tray_; }
    // A balloon from the icon with `title` and `text`; false when the icon is not in the
    // notification area or the shell shows no balloons.
    bool ShowBalloon(const std::wstring& title, const std::wstring& text);
    HWND trayWindow() const noexcept { return window_.hwnd(); }

private:
    class HiddenWindow : public win::Window {
    public:
        explicit HiddenWindow(TrayIconWin32& owner);

    protected:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        TrayIconWin32& owner_;
        UINT taskbarCreated_ = 0;
    };

    bool Notify(NotifyAction action, const NotifyRecord& record) override;
    TrayWindowId TrayWindow() const override;
    void CancelModes() override;
    void ForegroundTrayWindow() override;
    void ProcessMessages() override;
    bool TrackMenu(TrayMenuId menu, TrayWindowId commandWindow, int x, int y) override;
    TimerHooks Hooks() override;

    // Declared in the order they must be built; the tray goes first (see the destructor).
    IconMakerWin32 maker_;
    HiddenWindow window_;
    std::unique_ptr<TTrayIcon> tray_;
};

}  // namespace tessera
