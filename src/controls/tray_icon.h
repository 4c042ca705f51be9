#pragma once
// TTrayIcon: one icon in the notification area kept in line with its properties, its animation
// thread (TTrayIcon's TTimerThread), and the decoding of the shell's mouse callbacks.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "controls/icon_list.h"

namespace tessera {

// A window or menu handle as a plain number; 0 is none.
using TrayWindowId = std::uintptr_t;
using TrayMenuId = std::uintptr_t;

inline constexpr unsigned TrayNotifyMessage = 45140;

// The mouse messages the shell passes on in the callback's lParam.
namespace tray_mouse {
inline constexpr std::uintptr_t kMove = 0x200;          // WM_MOUSEMOVE
inline constexpr std::uintptr_t kLeftDown = 0x201;      // WM_LBUTTONDOWN
inline constexpr std::uintptr_t kLeftUp = 0x202;        // WM_LBUTTONUP
inline constexpr std::uintptr_t kLeftDouble = 0x203;    // WM_LBUTTONDBLCLK
inline constexpr std::uintptr_t kRightDown = 0x204;     // WM_RBUTTONDOWN
inline constexpr std::uintptr_t kRightUp = 0x205;       // WM_RBUTTONUP
inline constexpr std::uintptr_t kRightDouble = 0x206;   // WM_RBUTTONDBLCLK
inline constexpr std::uintptr_t kMiddleDown = 0x207;    // WM_MBUTTONDOWN
inline constexpr std::uintptr_t kMiddleUp = 0x208;      // WM_MBUTTONUP
inline constexpr std::uintptr_t kMiddleDouble = 0x209;  // WM_MBUTTONDBLCLK
}  // namespace tray_mouse
inline constexpr unsigned kTrayNotifyFlags = 7;  // message + icon + tip
inline constexpr std::size_t kTrayTipLength = 63;

// The notification record given to every add, modify and delete.
struct NotifyRecord {
    TrayWindowId window = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    IconHandle icon = 0;
    std::string tip;  // at most kTrayTipLength characters
};

enum class NotifyAction { Add, Modify, Delete };

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state as a set of flags.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;

// The pop-up menu as the tray icon sees it.
class TrayMenu {
public:
    virtual ~TrayMenu() = default;
    virtual bool AutoPopup() const = 0;
    // Top-level items, in order.
    virtual std::size_t ItemCount() const = 0;
    virtual bool ItemIsDefault(std::size_t index) const = 0;
    virtual bool ItemEnabled(std::size_t index) const = 0;
    virtual void ClickItem(std::size_t index) = 0;
    // Records which component popped the menu up (its handlers may ask).
    virtual void SetPopupComponent(const void* component) = 0;
    // The menu's own before-pop-up event.
    virtual void BeforePopup() = 0;
    virtual TrayMenuId Handle() const = 0;
    // The window that carries out the chosen item.
    virtual TrayWindowId CommandWindow() const = 0;
};

// What the animation thread needs; both are copied into the thread and must not refer to
// anything that the tray icon's owner destroys.
struct TimerHooks {
    std::function<void(unsigned ms)> sleep;
    std::function<bool()> applicationTerminating;
};

// What the tray icon asks of the desktop.
class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    virtual bool Notify(NotifyAction action, const NotifyRecord& record) = 0;
    virtual TrayWindowId TrayWindow() const = 0;
    // Sends the cancel-mode notice to the active form, else the main form, if there is one.
    virtual void CancelModes() = 0;
    // Brings the tray window to the foreground when it is enabled.
    virtual void ForegroundTrayWindow() = 0;
    virtual void ProcessMessages() = 0;
    // Pops the menu up with its left edge at x and top edge at y; false when it could not.
    virtual bool TrackMenu(TrayMenuId menu, TrayWindowId commandWindow, int x, int y) = 0;
    virtual TimerHooks Hooks() = 0;
};

class TTimerThread;

// What one frame step has for the shell, made under the tray icon's lock and sent without it.
struct ShellBatch {
    std::vector<std::pair<NotifyAction, NotifyRecord>> calls;
    std::uint64_t ticket = 0;  // of its last record
    bool addsIcon = false;     // the step adds the icon again: its answer decides Added
};

// The one way into the shell: one call at a time, in the order the records were made, and none
// once the icon is gone. Shared with the animation thread, which may outlive the icon.
class ShellGate {
public:
    explicit ShellGate(NotificationArea& area) : area_(&area) {}
    // Sends record `ticket` now (the window's thread, holding the tray icon's lock).
    bool Send(NotifyAction action, const NotifyRecord& record, std::uint64_t ticket);
    // Sends a frame step's records unless a newer one went first or the icon is gone; false when
    // not sent or when its add failed (what follows a failed add is not sent).
    bool SendBatch(const ShellBatch& batch);
    // The icon is gone: nothing reaches the shell any more.
    void Close();

private:
    std::mutex mutex_;
    NotificationArea* area_;
    std::uint64_t sent_ = 0;
};

class TTrayIcon {
public:
    TTrayIcon(NotificationArea& area, IconMaker* maker);
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;
    virtual ~TTrayIcon();

    bool Active() const;
    void SetActive(bool value);
    std::string Hint() const;
    void SetHint(const std::string& value);
    // Copies the icon or the list; the copies' changes refresh the tray.
    void SetIcon(const TIcon& icon);
    void SetIcons(const TIconList& icons);
    // Frame images given as stored data; throws std::runtime_error on damaged data.
    void ReadIconsData(std::span<const std::uint8_t> data);
    std::vector<std::uint8_t> WriteIconsData() const;
    int IconCount() const;
    bool Animated() const;
    void SetAnimated(bool wanted);
    std::uint16_t Interval() const;
    void SetInterval(std::uint16_t ms);
    TrayMenu* PopupMenu() const noexcept { return popupMenu_; }
    void SetPopupMenu(TrayMenu* menu) noexcept { popupMenu_ = menu; }
    // The menu is being destroyed: forget it.
    void MenuRemoved(const TrayMenu* menu) noexcept;
    // Shown only under a form designer; kept for the form data.
    bool ShowDesign = false;

    std::function<void(TTrayIcon&, TMouseButton, TShiftState, int, int)> OnClick;
    std::function<void(TTrayIcon&)> OnDblClick;
    std::function<void(TTrayIcon&, TShiftState, int, int)> OnMouseMove;
    std::function<void(TTrayIcon&, TMouseButton, TShiftState, int, int)> OnMouseDown;
    std::function<void(TTrayIcon&, TMouseButton, TShiftState, int, int)> OnMouseUp;

    // The owning form has been read.
    void Loaded();
    // The shell restarted and lost every icon: an active one goes back in as it was.
    void ShellRestarted();
    // The shell's callback: `mouseMessage` is its lParam, shift and x, y read when it came.
    void HandleNotify(std::uintptr_t mouseMessage, TShiftState shift, int x, int y);
    bool RunDefaultItem();
    bool ShowMenuAt(int x, int y);

    // The animation's frame step (run by the thread; public for tests): made under the lock, sent
    // to the shell without it.
    void NextFrame();
    ShellBatch PrepareNextFrame();
    // Sends the step's records unless newer ones went first; false when not sent or its add failed.
    bool SendFrame(const ShellBatch& batch) { return shell_->SendBatch(batch); }
    // The shell's answer to a step that added the icon again.
    void TakeAddAnswer(const ShellBatch& batch, bool added);
    int FrameIndex() const;
    bool Added() const;
    // The record as last filled.
    NotifyRecord IconData() const;

protected:
    virtual void FillNotifyData();
    virtual void DblClick();
    virtual void Click(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    NotifyRecord iconData;

private:
    const TIcon* CurrentIcon() const;
    std::string ShortHint() const;
    void AddToTray();
    void RemoveFromTray();
    void RefreshTray();
    // Hands the record to the shell, or to the frame step's batch while one is being made.
    bool Tell(NotifyAction action);
    void SetAnimatedLocked(bool wanted);
    bool TakeClicked(unsigned button);

    NotificationArea& area_;
    // Guards everything the animation thread reaches; shared with the threads so that a thread
    // outliving the icon still has a lock to take before it finds ownerTray cleared.
    std::shared_ptr<std::recursive_mutex> lock_;
    std::shared_ptr<ShellGate> shell_;
    std::uint64_t ticket_ = 0;     // of the newest record made
    ShellBatch* batch_ = nullptr;  // the frame step being made
    bool active_ = true;
    std::string hint_;
    TIcon icon_;
    TIconList icons_;
    bool animated_ = false;
    std::uint16_t interval_ = 150;
    TrayMenu* popupMenu_ = nullptr;
    bool added_ = false;
    int frameIndex_ = -1;
    unsigned clickedButtons_ = 0;
    std::shared_ptr<TTimerThread> animationThread_;
    bool destroying_ = false;
};

// The animation thread: sleeps Interval, then runs the tray icon's NextFrame; frees itself when
// its body ends. ownerTray is used with the tray icon's lock held.
class TTimerThread : public std::enable_shared_from_this<TTimerThread> {
public:
    static std::shared_ptr<TTimerThread> Start(TTrayIcon* owner, std::shared_ptr<std::recursive_mutex> trayLock,
                                               std::shared_ptr<ShellGate> shell, TimerHooks hooks, bool paused);
    TTimerThread(TTrayIcon* owner, std::shared_ptr<std::recursive_mutex> trayLock, std::shared_ptr<ShellGate> shell,
                 TimerHooks hooks, bool paused)
        : ownerTray(owner),
          trayLock_(std::move(trayLock)),
          shell_(std::move(shell)),
          hooks_(std::move(hooks)),
          paused_(paused) {}

    TTrayIcon* ownerTray;
    void Pause();
    void Resume();
    void Terminate();

    // Threads whose body has not ended yet (tests wait for 0).
    static int Running();

private:
    void Body();
    bool Closed() const;

    std::shared_ptr<std::recursive_mutex> trayLock_;
    std::shared_ptr<ShellGate> shell_;
    TimerHooks hooks_;
    std::mutex stateLock_;
    std::condition_variable wake_;
    bool paused_;
    bool terminated_ = false;
};

}  // namespace tessera
