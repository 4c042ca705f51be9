#include "controls/tray_icon.h"

#include <atomic>
#include <thread>

namespace tessera {

// Threads and locking. Two threads come here: the GUI thread (properties, callbacks, menu,
// destruction) and the animation thread (NextFrame and, through it, RefreshTray and the shell
// calls). One recursive lock guards all of the tray icon's state; every property setter, every
// frame step and every shell notification holds it, so each record the shell sees is whole.
// It is recursive because a refresh may switch the animation off, which refreshes again.
// The lock is never held while events run, so a modal dialog opened from a click or the open
// menu does not stop the animation. The animation thread never holds it while it calls the shell:
// a shell that takes its time (a busy desktop, the shell restarting) would hold up the window's
// thread at its next look at the icon. Its frame step is made under the lock, sent through the
// shell gate without it, and the shell's answer taken under the lock again. The gate keeps the
// records in order: a step overtaken by a newer record of the window's thread is not sent.
//
// The thread never waits for the lock while holding its own state lock, and the GUI thread only
// takes the state lock inside the tray lock: the two are always taken in that order.

using Guard = std::lock_guard<std::recursive_mutex>;

namespace {
constexpr unsigned kLeft = 1, kRight = 2;
std::atomic<int> runningThreads{0};
}  // namespace

TTrayIcon::TTrayIcon(NotificationArea& area, IconMaker* maker)
    : area_(area),
      lock_(std::make_shared<std::recursive_mutex>()),
      shell_(std::make_shared<ShellGate>(area)),
      icon_(maker),
      icons_(maker) {
    icon_.OnChange = [this] { RefreshTray(); };
    icons_.OnChange = [this] { RefreshTray(); };
}

TTrayIcon::~TTrayIcon() {
    Guard g(*lock_);
    destroying_ = true;
    icons_.OnChange = nullptr;
    icon_.OnChange = nullptr;
    // Clearing ownerTray under the lock means no frame step is running now, and none can
    // reach this object any more: the thread takes the lock and finds ownerTray cleared.
    SetAnimatedLocked(false);
    RemoveFromTray();
    shell_->Close();
}

bool TTrayIcon::Active() const {
    Guard g(*lock_);
    return active_;
}

void TTrayIcon::SetActive(bool value) {
    Guard g(*lock_);
    if (value == active_) return;
    active_ = value;
    if (value)
        AddToTray();
    else
        RemoveFromTray();
}

std::string TTrayIcon::Hint() const {
    Guard g(*lock_);
    return hint_;
}

void TTrayIcon::SetHint(const std::string& value) {
    Guard g(*lock_);
    if (value == hint_) return;
    hint_ = value;
    RefreshTray();
}

void TTrayIcon::SetIcon(const TIcon& icon) {
    Guard g(*lock_);
    icon_.Assign(icon);
}

void TTrayIcon::SetIcons(const TIconList& icons) {
    Guard g(*lock_);
    icons_.Assign(icons);
}

void TTrayIcon::ReadIconsData(std::span<const std::uint8_t> data) {
    Guard g(*lock_);
    icons_.ReadData(data);
}

std::vector<std::uint8_t> TTrayIcon::WriteIconsData() const {
    Guard g(*lock_);
    return icons_.WriteData();
}

int TTrayIcon::IconCount() const {
    Guard g(*lock_);
    return icons_.Count();
}

bool TTrayIcon::Animated() const {
    Guard g(*lock_);
    return animated_;
}

void TTrayIcon::SetAnimated(bool wanted) {
    Guard g(*lock_);
    SetAnimatedLocked(wanted);
}

std::uint16_t TTrayIcon::Interval() const {
    Guard g(*lock_);
    return interval_;
}

void TTrayIcon::SetInterval(std::uint16_t ms) {
    Guard g(*lock_);
    interval_ = ms;  // the running thread reads it before each pause
}

void TTrayIcon::MenuRemoved(const TrayMenu* menu) noexcept {
    if (menu && menu == popupMenu_) popupMenu_ = nullptr;
}

int TTrayIcon::FrameIndex() const {
    Guard g(*lock_);
    return frameIndex_;
}

bool TTrayIcon::Added() const {
    Guard g(*lock_);
    return added_;
}

NotifyRecord TTrayIcon::IconData() const {
    Guard g(*lock_);
    return iconData;
}

void TTrayIcon::Loaded() {
    Guard g(*lock_);
    if (active_) AddToTray();
}

// Without this the icon would be gone for good after a crash or an update of the shell, and the
// options window and Quit with it. The frame and the animation are kept; a failed add is retried
// as after any other.
void TTrayIcon::ShellRestarted() {
    Guard g(*lock_);
    if (active_ && !destroying_) AddToTray();
}

const TIcon* TTrayIcon::CurrentIcon() const {
    if (animated_ && icons_.Count() > 0) {
        int i = frameIndex_;
        if (i < 0) i = 0;
        if (i > icons_.Count() - 1) i = icons_.Count() - 1;
        return &icons_.Item(i);
    }
    return &icon_;
}

std::string TTrayIcon::ShortHint() const { return hint_.substr(0, hint_.find('|')); }

void TTrayIcon::FillNotifyData() {
    iconData.window = area_.TrayWindow();
    iconData.id = 0;
    iconData.flags = kTrayNotifyFlags;
    iconData.callbackMessage = TrayNotifyMessage;
    const TIcon* icon = CurrentIcon();
    iconData.icon = icon ? icon->Handle() : 0;
    iconData.tip = ShortHint().substr(0, kTrayTipLength);
}

void TTrayIcon::AddToTray() {
    RemoveFromTray();
    const TIcon* icon = CurrentIcon();
    if (!icon || icon->Empty()) return;
    clickedButtons_ = 0;
    FillNotifyData();
    // A failed add is not reported: the next refresh while active tries again. From a frame step
    // the icon counts as added once the shell has said so.
    const bool added = Tell(NotifyAction::Add);
    if (batch_) batch_->addsIcon = true;
    added_ = added && !batch_;
    if (ShortHint().empty() && added) Tell(NotifyAction::Modify);
    // Animated, the thread runs even after a failed add: its next frame step refreshes, which
    // retries the add (pausing and resuming itself within that step). So the animation keeps
    // trying to bring the icon back rather than waiting for a change on the GUI side.
    if (animated_ && animationThread_) animationThread_->Resume();
}

void TTrayIcon::RemoveFromTray() {
    // Deleted whatever `added` says: the shell ignores a delete of an icon it does not have.
    Tell(NotifyAction::Delete);
    added_ = false;
    clickedButtons_ = 0;
    // From a frame step this only marks the thread paused; it stops after the step has ended.
    if (animated_ && animationThread_) animationThread_->Pause();
}

void TTrayIcon::RefreshTray() {
    if (icons_.Count() == 0) SetAnimatedLocked(false);
    if (added_) {
        const TIcon* icon = CurrentIcon();
        if (!icon || icon->Empty()) {
            RemoveFromTray();
        } else {
            FillNotifyData();
            Tell(NotifyAction::Modify);
        }
    } else if (active_ && !destroying_) {
        // Switching the animation off during destruction refreshes too; adding the icon then
        // would only show it for the delete that follows.
        AddToTray();
    }
}

void TTrayIcon::SetAnimatedLocked(bool wanted) {
    const bool value = wanted && icons_.Count() > 0;
    if (value == animated_) return;
    if (value) {
        animationThread_ = TTimerThread::Start(this, lock_, shell_, area_.Hooks(), !added_);
        animated_ = true;
    } else {
        animated_ = false;
        if (animationThread_) {
            animationThread_->ownerTray = nullptr;
            animationThread_->Terminate();
            animationThread_.reset();  // the thread keeps itself alive until its body ends
        }
    }
    frameIndex_ = 0;
    RefreshTray();
}

bool TTrayIcon::Tell(NotifyAction action) {
    const std::uint64_t ticket = ++ticket_;
    if (!batch_) return shell_->Send(action, iconData, ticket);
    batch_->calls.emplace_back(action, iconData);
    batch_->ticket = ticket;
    return true;
}

void TTrayIcon::NextFrame() {
    const ShellBatch batch = PrepareNextFrame();
    const bool added = SendFrame(batch);
    if (batch.addsIcon) TakeAddAnswer(batch, added);
}

ShellBatch TTrayIcon::PrepareNextFrame() {
    Guard g(*lock_);
    ShellBatch batch;
    if (destroying_ || !animated_) return batch;
    ++frameIndex_;
    if (frameIndex_ >= icons_.Count()) frameIndex_ = 0;
    batch_ = &batch;
    RefreshTray();
    batch_ = nullptr;
    return batch;
}

// Taken only when nothing was told to the shell since: a newer record has its own answer.
void TTrayIcon::TakeAddAnswer(const ShellBatch& batch, bool added) {
    Guard g(*lock_);
    if (added && ticket_ == batch.ticket && !destroying_) added_ = true;
}

bool ShellGate::Send(NotifyAction action, const NotifyRecord& record, std::uint64_t ticket) {
    std::lock_guard<std::mutex> g(mutex_);
    if (!area_) return false;
    sent_ = ticket;
    return area_->Notify(action, record);
}

bool ShellGate::SendBatch(const ShellBatch& batch) {
    std::lock_guard<std::mutex> g(mutex_);
    if (!area_ || batch.calls.empty() || sent_ > batch.ticket) return false;
    sent_ = batch.ticket;
    for (const auto& [action, record] : batch.calls)
        if (!area_->Notify(action, record) && action == NotifyAction::Add) return false;
    return true;
}

void ShellGate::Close() {
    std::lock_guard<std::mutex> g(mutex_);
    area_ = nullptr;
}

bool TTrayIcon::TakeClicked(unsigned button) {
    Guard g(*lock_);
    const bool was = (clickedButtons_ & button) != 0;
    clickedButtons_ &= ~button;
    return was;
}

// A left or right button's down is remembered, and its up is a click only after it: a button
// pressed elsewhere and let go over the icon is no click.
void TTrayIcon::HandleNotify(std::uintptr_t mouseMessage, TShiftState shift, int x, int y) {
    using enum TMouseButton;
    auto down = [&](TMouseButton button, TShiftState state, unsigned clickBit) {
        MouseDown(button, shift | state, x, y);
        Guard g(*lock_);
        clickedButtons_ |= clickBit;
    };
    auto up = [&](TMouseButton button, TShiftState state, unsigned clickBit) {
        if (TakeClicked(clickBit)) Click(button, shift | state, x, y);
        MouseUp(button, shift | state, x, y);
    };
    switch (mouseMessage) {
    case tray_mouse::kMove: MouseMove(shift, x, y); break;
    case tray_mouse::kLeftDown: down(mbLeft, ssLeft, kLeft); break;
    case tray_mouse::kLeftUp: up(mbLeft, ssLeft, kLeft); break;
    case tray_mouse::kLeftDouble:
        // The double-click message leaves clickedButtons alone: the up after it is no click.
        DblClick();
        MouseDown(mbLeft, shift | ssDouble, x, y);
        break;
    case tray_mouse::kRightDown: down(mbRight, ssRight, kRight); break;
    case tray_mouse::kRightUp: up(mbRight, ssRight, kRight); break;
    case tray_mouse::kRightDouble: MouseDown(mbRight, shift | ssDouble, x, y); break;
    case tray_mouse::kMiddleDown: MouseDown(mbMiddle, shift | ssMiddle, x, y); break;
    case tray_mouse::kMiddleUp: MouseUp(mbMiddle, shift | ssMiddle, x, y); break;
    case tray_mouse::kMiddleDouble: MouseDown(mbMiddle, shift | ssDouble, x, y); break;
    default: break;
    }
}

void TTrayIcon::Click(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbRight && ShowMenuAt(x, y)) return;
    if (OnClick) OnClick(*this, button, shift, x, y);
}

void TTrayIcon::DblClick() {
    if (RunDefaultItem()) return;
    if (OnDblClick) OnDblClick(*this);
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TTrayIcon::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

bool TTrayIcon::RunDefaultItem() {
    if (!Active() || !popupMenu_) return false;
    const std::size_t count = popupMenu_->ItemCount();
    for (std::size_t i = 0; i < count; ++i) {
        if (popupMenu_->ItemIsDefault(i) && popupMenu_->ItemEnabled(i)) {
            popupMenu_->ClickItem(i);
            return true;
        }
    }
    return false;
}

bool TTrayIcon::ShowMenuAt(int x, int y) {
    bool destroying = false;
    {
        Guard g(*lock_);
        if (!active_ || !popupMenu_ || !popupMenu_->AutoPopup()) return false;
        destroying = destroying_;
    }
    TrayMenu& menu = *popupMenu_;
    menu.SetPopupComponent(this);
    if (!destroying) area_.CancelModes();
    // A menu popped up from a notification icon only closes on a click elsewhere when its
    // owner is the foreground window.
    area_.ForegroundTrayWindow();
    area_.ProcessMessages();
    menu.BeforePopup();
    area_.TrackMenu(menu.Handle(), menu.CommandWindow(), x, y);
    // Again after the menu: otherwise the next pop-up may fail to close.
    area_.ForegroundTrayWindow();
    return true;
}

// The animation thread.

std::shared_ptr<TTimerThread> TTimerThread::Start(TTrayIcon* owner, std::shared_ptr<std::recursive_mutex> trayLock,
                                                  std::shared_ptr<ShellGate> shell, TimerHooks hooks, bool paused) {
    auto thread =
        std::make_shared<TTimerThread>(owner, std::move(trayLock), std::move(shell), std::move(hooks), paused);
    ++runningThreads;
    // Detached, holding itself: the tray icon never waits for it (the GUI thread holds the lock
    // a frame step needs), and it frees itself when its body ends.
    std::thread([self = thread] {
        self->Body();
        --runningThreads;
    }).detach();
    return thread;
}

int TTimerThread::Running() { return runningThreads.load(); }

void TTimerThread::Pause() {
    std::lock_guard<std::mutex> g(stateLock_);
    paused_ = true;
}

void TTimerThread::Resume() {
    {
        std::lock_guard<std::mutex> g(stateLock_);
        paused_ = false;
    }
    wake_.notify_all();
}

void TTimerThread::Terminate() {
    {
        std::lock_guard<std::mutex> g(stateLock_);
        terminated_ = true;
        paused_ = false;
    }
    wake_.notify_all();
}

bool TTimerThread::Closed() const {
    // Called with the tray lock held; terminated_ is read under the state lock below.
    return !ownerTray || (hooks_.applicationTerminating && hooks_.applicationTerminating());
}

void TTimerThread::Body() {
    for (;;) {
        {
            std::unique_lock<std::mutex> l(stateLock_);
            wake_.wait(l, [this] { return !paused_ || terminated_; });
            if (terminated_) return;
        }
        unsigned interval = 0;
        {
            std::lock_guard<std::recursive_mutex> g(*trayLock_);
            if (Closed()) return;
            interval = ownerTray->Interval();
        }
        // Slept with no lock held: the GUI thread can change anything meanwhile.
        if (hooks_.sleep) hooks_.sleep(interval);
        ShellBatch batch;
        {
            std::lock_guard<std::recursive_mutex> g(*trayLock_);
            if (Closed()) return;
            {
                std::lock_guard<std::mutex> s(stateLock_);
                if (terminated_) return;
                // Paused during the sleep: no step now; the wait above holds until resumed.
                if (paused_) continue;
            }
            if (!ownerTray->Animated()) continue;
            batch = ownerTray->PrepareNextFrame();
        }
        const bool added = shell_->SendBatch(batch);
        if (!batch.addsIcon) continue;
        std::lock_guard<std::recursive_mutex> g(*trayLock_);
        if (!Closed()) ownerTray->TakeAddAnswer(batch, added);
    }
}

}  // namespace tessera
