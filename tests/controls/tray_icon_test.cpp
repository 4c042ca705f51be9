// The tray icon's state machine against a recording notification area, and its animation thread.
#include "controls/tray_icon.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>

#include <memory>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tessera {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Handle = 100 + first byte of the image.
class FakeMaker : public IconMaker {
public:
    IconHandle Make(std::span<const std::uint8_t> image) override { return 100 + image[0]; }
    void Free(IconHandle) override {}
};

// The animation thread's sleep, released by the test one pause at a time (or left open).
class Ticker {
public:
    void Sleep(unsigned ms) {
        std::unique_lock<std::mutex> l(m_);
        pauses_.push_back(ms);
        ++entered_;
        cv_.notify_all();
        cv_.wait(l, [&] { return open_ || permits_ > 0; });
        if (!open_) {
            --permits_;
            leftAt_ = entered_;
        }
    }
    // Ends one pause and waits until the thread comes back to sleep; false when it does not
    // (it was paused or has ended).
    bool Step() {
        std::unique_lock<std::mutex> l(m_);
        ++permits_;
        cv_.notify_all();
        return cv_.wait_for(l, 300ms, [&] { return permits_ == 0 && entered_ > leftAt_; });
    }
    bool WaitForSleeper() {
        std::unique_lock<std::mutex> l(m_);
        return cv_.wait_for(l, 2s, [&] { return entered_ > 0; });
    }
    void Open() {
        std::lock_guard<std::mutex> l(m_);
        open_ = true;
        cv_.notify_all();
    }
    std::vector<unsigned> Pauses() {
        std::lock_guard<std::mutex> l(m_);
        return pauses_;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::vector<unsigned> pauses_;
    int entered_ = 0;
    int permits_ = 0;
    int leftAt_ = 0;  // entered_ when the last released pause ended
    bool open_ = false;
};

struct Call {
    NotifyAction action;
    NotifyRecord record;
};

class FakeArea : public NotificationArea {
public:
    bool Notify(NotifyAction action, const NotifyRecord& record) override {
        if (auto slow = std::exchange(slowShell, nullptr)) slow();
        std::lock_guard<std::mutex> l(m);
        calls.push_back({action, record});
        return action != NotifyAction::Add || addSucceeds;
    }
    TrayWindowId TrayWindow() const override { return 77; }
    void CancelModes() override { steps.push_back("cancel"); }
    void ForegroundTrayWindow() override { steps.push_back("foreground"); }
    void ProcessMessages() override { steps.push_back("process"); }
    bool TrackMenu(TrayMenuId menu, TrayWindowId owner, int x, int y) override {
        steps.push_back("track " + std::to_string(menu) + " " + std::to_string(owner) + " " + std::to_string(x) + "," +
                        std::to_string(y));
        return true;
    }
    TimerHooks Hooks() override {
        auto t = ticker;
        return {[t](unsigned ms) { t->Sleep(ms); }, [] { return false; }};
    }

    std::vector<Call> Take() {
        std::lock_guard<std::mutex> l(m);
        return std::exchange(calls, {});
    }
    std::string Actions() {
        std::string s;
        for (const Call& c : Take())
            s += c.action == NotifyAction::Add ? "A" : c.action == NotifyAction::Modify ? "M" : "D";
        return s;
    }

    std::mutex m;
    std::vector<Call> calls;
    bool addSucceeds = true;
    std::function<void()> slowShell;  // run by the next call, before it answers
    std::vector<std::string> steps;
    std::shared_ptr<Ticker> ticker = std::make_shared<Ticker>();
};

class FakeMenu : public TrayMenu {
public:
    struct Item {
        bool isDefault, enabled;
    };
    bool AutoPopup() const override { return autoPopup; }
    std::size_t ItemCount() const override { return items.size(); }
    bool ItemIsDefault(std::size_t i) const override { return items[i].isDefault; }
    bool ItemEnabled(std::size_t i) const override { return items[i].enabled; }
    void ClickItem(std::size_t i) override { log.push_back("item " + std::to_string(i)); }
    void SetPopupComponent(const void* c) override {
        component = c;
        steps->push_back("component");
    }
    void BeforePopup() override { steps->push_back("onpopup"); }
    TrayMenuId Handle() const override { return 9; }
    TrayWindowId CommandWindow() const override { return 8; }

    std::vector<std::string>* steps = nullptr;
    std::vector<Item> items;
    bool autoPopup = true;
    const void* component = nullptr;
    std::vector<std::string> log;
};

std::unique_ptr<TIconList> Frames(std::initializer_list<Bytes> images) {
    auto list = std::make_unique<TIconList>();
    TIcon icon;
    for (const Bytes& image : images) {
        if (image.empty()) {
            list->AddEmpty();
        } else {
            icon.SetImage(image);
            list->Add(icon);
        }
    }
    return list;
}

class TrayIconTest : public ::testing::Test {
protected:
    ~TrayIconTest() override {
        // Let every thread finish its pause and see that it is done.
        area.ticker->Open();
        for (int i = 0; i < 500 && TTimerThread::Running() > 0; ++i) std::this_thread::sleep_for(10ms);
        EXPECT_EQ(TTimerThread::Running(), 0);
    }
    void SetStillIcon(TTrayIcon& tray, std::uint8_t first = 1) {
        TIcon icon;
        icon.SetImage({first, 0xEE});
        tray.SetIcon(icon);
    }

    FakeArea area;
    FakeMaker maker;
};

TEST_F(TrayIconTest, AddsModifiesAndDeletesWithFilledRecords) {
    {
        TTrayIcon tray(area, &maker);
        EXPECT_EQ(area.Actions(), "") << "nothing without an icon";
        SetStillIcon(tray);
        // Delete first whatever, then the add; an empty hint is followed at once by one modify.
        auto calls = area.Take();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].action, NotifyAction::Delete);
        EXPECT_EQ(calls[1].action, NotifyAction::Add);
        EXPECT_EQ(calls[2].action, NotifyAction::Modify);
        const NotifyRecord& r = calls[1].record;
        EXPECT_EQ(r.window, 77u);
        EXPECT_EQ(r.id, 0u);
        EXPECT_EQ(r.flags, 7u);
        EXPECT_EQ(r.callbackMessage, 45140u);
        EXPECT_EQ(r.icon, 101u);
        EXPECT_EQ(r.tip, "");
        EXPECT_TRUE(tray.Added());

        tray.SetHint("Tessera|Presse-papiers");
        calls = area.Take();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].action, NotifyAction::Modify);
        EXPECT_EQ(calls[0].record.tip, "Tessera");

        tray.SetHint(std::string(100, 'x'));
        EXPECT_EQ(area.Take().at(0).record.tip, std::string(63, 'x'));
        tray.SetHint(std::string(100, 'x'));
        EXPECT_EQ(area.Actions(), "") << "an unchanged hint does nothing";

        tray.SetActive(false);
        EXPECT_EQ(area.Actions(), "D");
        EXPECT_FALSE(tray.Added());
        tray.SetActive(true);
        EXPECT_EQ(area.Actions(), "DA") << "a hint that is not empty needs no modify";
    }
    EXPECT_EQ(area.Actions(), "D") << "destruction removes the icon";
}

TEST_F(TrayIconTest, FailedAddIsSilentAndRetriedByTheNextRefresh) {
    TTrayIcon tray(area, &maker);
    area.addSucceeds = false;
    SetStillIcon(tray);
    EXPECT_EQ(area.Actions(), "DA") << "no modify after a failed add";
    EXPECT_FALSE(tray.Added());
    area.addSucceeds = true;
    tray.SetHint("Tessera");
    EXPECT_EQ(area.Actions(), "DA");
    EXPECT_TRUE(tray.Added());
    tray.SetHint("Tessera 2");
    EXPECT_EQ(area.Actions(), "M");
}

TEST_F(TrayIconTest, AnimationNeedsFramesAndFallsBackToTheStillIcon) {
    TTrayIcon tray(area, &maker);
    SetStillIcon(tray, 1);
    tray.SetHint("Tessera");
    tray.SetAnimated(true);
    EXPECT_FALSE(tray.Animated()) << "no frames, no animation";
    EXPECT_EQ(TTimerThread::Running(), 0);

    tray.SetIcons(*Frames({{10}, {11}, {12}}));
    tray.SetAnimated(true);
    ASSERT_TRUE(tray.Animated());
    EXPECT_EQ(tray.FrameIndex(), 0);
    area.Take();
    // Frames in order, wrapping.
    for (IconHandle expected : {111u, 112u, 110u, 111u}) {
        tray.NextFrame();
        auto calls = area.Take();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].action, NotifyAction::Modify);
        EXPECT_EQ(calls[0].record.icon, expected);
    }

    // Emptying the frames switches the animation off and shows the still icon.
    tray.SetIcons(TIconList());
    EXPECT_FALSE(tray.Animated());
    auto calls = area.Take();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().record.icon, 101u);
    EXPECT_TRUE(tray.Added());
}

TEST_F(TrayIconTest, ThreadStepsFramesAtTheIntervalAndPausesOutOfTheTray) {
    TTrayIcon tray(area, &maker);
    tray.SetHint("Tessera");
    tray.SetInterval(500);
    tray.SetIcons(*Frames({{10}, {11}, {12}}));  // active with an icon: the frames bring it in
    tray.SetAnimated(true);
    ASSERT_TRUE(area.ticker->WaitForSleeper());
    area.Take();

    ASSERT_TRUE(area.ticker->Step());
    EXPECT_EQ(tray.FrameIndex(), 1);
    // A new interval is used from the next pause on, by the same thread.
    tray.SetInterval(40);
    ASSERT_TRUE(area.ticker->Step());
    EXPECT_EQ(tray.FrameIndex(), 2);
    EXPECT_EQ(area.ticker->Pauses(), (std::vector<unsigned>{500, 500, 40}));
    EXPECT_EQ(TTimerThread::Running(), 1);

    // Out of the tray the thread is paused; back in, it resumes from the frame it had.
    tray.SetActive(false);
    EXPECT_FALSE(area.ticker->Step());
    EXPECT_EQ(tray.FrameIndex(), 2);
    area.Take();
    tray.SetActive(true);
    auto calls = area.Take();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].action, NotifyAction::Add);
    EXPECT_EQ(calls[1].record.icon, 112u);
    ASSERT_TRUE(area.ticker->Step());
    EXPECT_EQ(tray.FrameIndex(), 0);
}

TEST_F(TrayIconTest, EmptyFrameRemovesTheIconUntilTheGuiSideAddsIt) {
    TTrayIcon tray(area, &maker);
    tray.SetHint("Tessera");
    tray.SetIcons(*Frames({{10}, {}, {12}}));
    tray.SetAnimated(true);
    ASSERT_TRUE(area.ticker->WaitForSleeper());
    area.Take();

    EXPECT_FALSE(area.ticker->Step()) << "the empty frame pauses the thread";
    EXPECT_EQ(area.Actions(), "D");
    EXPECT_FALSE(tray.Added());
    EXPECT_TRUE(tray.Animated());

    tray.SetIcons(*Frames({{20}, {21}}));
    EXPECT_TRUE(tray.Added());
    EXPECT_TRUE(area.ticker->Step()) << "adding resumes the thread";
}

TEST_F(TrayIconTest, FailedAddWhileAnimatedIsRetriedByTheThread) {
    area.addSucceeds = false;
    TTrayIcon tray(area, &maker);
    tray.SetHint("Tessera");
    tray.SetIcons(*Frames({{10}, {11}}));
    tray.SetAnimated(true);
    ASSERT_FALSE(tray.Added());
    ASSERT_TRUE(area.ticker->WaitForSleeper()) << "the thread runs although the add failed";
    area.Take();
    ASSERT_TRUE(area.ticker->Step());
    EXPECT_EQ(area.Actions(), "DA");
    area.addSucceeds = true;
    ASSERT_TRUE(area.ticker->Step());
    EXPECT_EQ(area.Actions(), "DA");
    EXPECT_TRUE(tray.Added());
}

TEST_F(TrayIconTest, ShellRestartAddsAnActiveIconAgainAsItWas) {
    TTrayIcon tray(area, &maker);
    tray.SetHint("Tessera");
    tray.SetIcons(*Frames({{10}, {11}, {12}}));
    tray.SetAnimated(true);
    ASSERT_TRUE(area.ticker->WaitForSleeper());
    tray.NextFrame();
    area.Take();

    tray.ShellRestarted();
    auto calls = area.Take();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().action, NotifyAction::Add);
    EXPECT_EQ(calls.back().record.icon, 111u) << "at the frame it had";
    EXPECT_EQ(calls.back().record.tip, "Tessera");
    EXPECT_TRUE(tray.Added());
    ASSERT_TRUE(area.ticker->Step()) << "the animation goes on";
    EXPECT_EQ(tray.FrameIndex(), 2);

    tray.SetActive(false);
    area.Take();
    tray.ShellRestarted();
    EXPECT_EQ(area.Actions(), "") << "an inactive icon stays out";
}

TEST_F(TrayIconTest, MouseMessagesGiveEventsClicksAndTheMenu) {
    TTrayIcon tray(area, &maker);
    std::vector<std::string> events;
    auto name = [](TMouseButton b) { return b == TMouseButton::mbLeft ? "L" : b == TMouseButton::mbRight ? "R" : "M"; };
    tray.OnMouseDown = [&](TTrayIcon&, TMouseButton b, TShiftState s, int x, int y) {
        events.push_back(std::string("down ") + name(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," +
                         std::to_string(y));
    };
    tray.OnMouseUp = [&](TTrayIcon&, TMouseButton b, TShiftState s, int, int) {
        events.push_back(std::string("up ") + name(b) + " " + std::to_string(s));
    };
    tray.OnClick = [&](TTrayIcon&, TMouseButton b, TShiftState s, int, int) {
        events.push_back(std::string("click ") + name(b) + " " + std::to_string(s));
    };
    tray.OnDblClick = [&](TTrayIcon&) { events.push_back("dblclick"); };
    tray.OnMouseMove = [&](TTrayIcon&, TShiftState s, int x, int y) {
        events.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    };

    // A left double click, with shift held.
    for (std::uintptr_t m : {0x201u, 0x202u, 0x203u, 0x202u}) tray.HandleNotify(m, ssShift, 5, -3);
    EXPECT_EQ(events, (std::vector<std::string>{"down L 9 5,-3", "click L 9", "up L 9", "dblclick", "down L 65 5,-3",
                                                "up L 9"}));
    events.clear();

    // An up with no down before it, middle and right buttons, moves and unknown messages.
    for (std::uintptr_t m : {0x202u, 0x207u, 0x208u, 0x209u, 0x200u, 0x206u, 0x2FFu}) tray.HandleNotify(m, 0, 1, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"up L 8", "down M 32 1,2", "up M 32", "down M 64 1,2", "move 0 1,2",
                                                "down R 64 1,2"}));
    events.clear();

    // Right click with no menu: a click.
    tray.HandleNotify(0x204, 0, 1, 2);
    tray.HandleNotify(0x205, 0, 1, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"down R 16 1,2", "click R 16", "up R 16"}));
    events.clear();

    // With a menu: it opens at the cursor, after the steps that make it behave, and no click.
    FakeMenu menu;
    menu.steps = &area.steps;
    tray.SetPopupMenu(&menu);
    tray.HandleNotify(0x204, 0, 30, 40);
    tray.HandleNotify(0x205, 0, 30, 40);
    EXPECT_EQ(events, (std::vector<std::string>{"down R 16 30,40", "up R 16"}));
    EXPECT_EQ(area.steps, (std::vector<std::string>{"component", "cancel", "foreground", "process", "onpopup",
                                                    "track 9 8 30,40", "foreground"}));
    EXPECT_EQ(menu.component, &tray);
    events.clear();

    // Automatic pop-up off or inactive: the right click is a click again.
    menu.autoPopup = false;
    tray.HandleNotify(0x204, 0, 1, 2);
    tray.HandleNotify(0x205, 0, 1, 2);
    EXPECT_EQ(events.at(1), "click R 16");
    tray.MenuRemoved(&menu);
    EXPECT_EQ(tray.PopupMenu(), nullptr);
}

TEST_F(TrayIconTest, DoubleClickRunsTheFirstEnabledDefaultItem) {
    TTrayIcon tray(area, &maker);
    int dbl = 0;
    tray.OnDblClick = [&](TTrayIcon&) { ++dbl; };
    FakeMenu menu;
    menu.steps = &area.steps;
    menu.items = {{false, true}, {true, false}, {true, true}, {true, true}};
    tray.SetPopupMenu(&menu);

    tray.HandleNotify(0x203, 0, 0, 0);
    EXPECT_EQ(menu.log, (std::vector<std::string>{"item 2"}));
    EXPECT_EQ(dbl, 0);

    menu.items = {{false, true}, {true, false}};
    EXPECT_FALSE(tray.RunDefaultItem());
    tray.HandleNotify(0x203, 0, 0, 0);
    EXPECT_EQ(dbl, 1);

    menu.items = {{true, true}};
    tray.SetActive(false);
    EXPECT_FALSE(tray.RunDefaultItem()) << "inactive: no default item runs";
}

// Seen on a busy desktop: the animation thread held the icon's lock while the shell took its
// time, and the window thread froze at its next look at the icon.
TEST_F(TrayIconTest, ASlowShellDoesNotHoldUpTheWindowThread) {
    TTrayIcon tray(area, &maker);
    tray.SetIcons(*Frames({{10}, {11}}));
    tray.SetAnimated(true);
    ASSERT_TRUE(area.ticker->WaitForSleeper());
    std::promise<void> inShell, answer;
    area.slowShell = [&] {
        inShell.set_value();
        answer.get_future().wait();
    };
    area.ticker->Open();
    inShell.get_future().wait();
    auto look = std::async(std::launch::async, [&] { return tray.Animated(); });
    EXPECT_EQ(look.wait_for(2s), std::future_status::ready);
    answer.set_value();
}

// A frame step made before the window thread changed the icon must not reach the shell after it.
TEST_F(TrayIconTest, AFrameOvertakenByANewerRecordIsNotSent) {
    TTrayIcon tray(area, &maker);
    tray.SetHint("Tessera");
    tray.SetIcons(*Frames({{10}, {11}}));
    tray.SetAnimated(true);
    const ShellBatch step = tray.PrepareNextFrame();
    tray.SetHint("Tessera 2");
    area.Take();
    EXPECT_FALSE(tray.SendFrame(step));
    EXPECT_TRUE(area.Take().empty());
}

// GUI-side changes against a running animation thread, then destruction: run under TSan.
TEST_F(TrayIconTest, StressGuiChangesAgainstTheAnimationThread) {
    auto frames = Frames({{10}, {11}, {}, {13}});
    auto other = Frames({{20}, {21}});
    area.ticker->Open();
    for (int round = 0; round < 20; ++round) {
        auto tray = std::make_unique<TTrayIcon>(area, &maker);
        tray->SetInterval(1);
        SetStillIcon(*tray);
        tray->SetIcons(*frames);
        tray->SetAnimated(true);
        for (int i = 0; i < 60; ++i) {
            switch (i % 6) {
            case 0: tray->SetAnimated(!tray->Animated()); break;
            case 1: tray->SetIcons(i % 4 ? *frames : *other); break;
            case 2: tray->SetActive(!tray->Active()); break;
            case 3: tray->SetHint("hint " + std::to_string(i)); break;
            case 4: SetStillIcon(*tray, static_cast<std::uint8_t>(i)); break;
            case 5:
                std::this_thread::sleep_for(1ms);
                tray->SetAnimated(true);
                break;
            }
        }
        tray.reset();
        area.Take();
    }
    for (int i = 0; i < 500 && TTimerThread::Running() > 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(TTimerThread::Running(), 0);
    EXPECT_TRUE(area.Take().empty()) << "nothing reaches the shell after destruction";
}

}  // namespace
}  // namespace tessera
