// The tray icon against the real notification area, window messages and menus.
#include "controls/tray_icon_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>
#include <vector>

#include "../win/pump.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

using testing::PumpUntil;

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// A 16 x 16, 32-bit icon file image filled with one colour.
std::vector<std::uint8_t> SolidIcon(std::uint32_t bgra) {
    constexpr std::uint32_t side = 16, xorSize = side * side * 4, andSize = side * 4;
    std::vector<std::uint8_t> f{0, 0, 1, 0, 1, 0, side, side, 0, 0, 1, 0, 32, 0};
    Put32(f, 40 + xorSize + andSize);
    Put32(f, 22);
    for (std::uint32_t v : {40u, side, side * 2}) Put32(f, v);
    f.insert(f.end(), {1, 0, 32, 0});
    for (int i = 0; i < 6; ++i) Put32(f, 0);
    for (std::uint32_t i = 0; i < side * side; ++i) Put32(f, bgra);
    f.insert(f.end(), andSize, 0);
    return f;
}

TIcon& Solid(TIcon& icon, std::uint32_t bgra) {
    icon.SetImage(SolidIcon(bgra));
    return icon;
}

// A real pop-up menu that closes itself shortly after it opens.
class ClosingMenu : public TrayMenu {
public:
    ClosingMenu() : menu_(::CreatePopupMenu()) {
        ::AppendMenuW(menu_.get(), MF_STRING, 1, L"&Options...");
        ::AppendMenuW(menu_.get(), MF_STRING, 2, L"&Quitter");
    }
    bool AutoPopup() const override { return true; }
    std::size_t ItemCount() const override { return 2; }
    bool ItemIsDefault(std::size_t) const override { return false; }
    bool ItemEnabled(std::size_t) const override { return true; }
    void ClickItem(std::size_t) override {}
    void SetPopupComponent(const void*) override {}
    void BeforePopup() override {
        ++popups;
        // The menu's own loop dispatches thread timers: this one ends the menu.
        ::SetTimer(nullptr, 0, 100, &EndTheMenu);
    }
    TrayMenuId Handle() const override { return reinterpret_cast<TrayMenuId>(menu_.get()); }
    TrayWindowId CommandWindow() const override { return 0; }

    int popups = 0;

private:
    static void CALLBACK EndTheMenu(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        ::EndMenu();
    }

    win::unique_hmenu menu_;
};

TEST(TrayIconWin32, AddsTheIconAndTurnsCallbacksIntoEvents) {
    auto tray = std::make_unique<TrayIconWin32>();
    HWND window = tray->trayWindow();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_FALSE(::IsWindowVisible(window));

    TIcon icon;
    tray->Tray().SetHint("Tessera|aide");
    tray->Tray().SetIcon(Solid(icon, 0xFF2040C0));
    EXPECT_TRUE(tray->Tray().Added()) << "Shell_NotifyIconA(NIM_ADD) failed";
    const NotifyRecord record = tray->Tray().IconData();
    EXPECT_EQ(record.window, reinterpret_cast<TrayWindowId>(window));
    EXPECT_NE(record.icon, 0u);
    EXPECT_EQ(record.tip, "Tessera");

    std::vector<TMouseButton> clicks;
    int downs = 0;
    tray->Tray().OnClick = [&](TTrayIcon&, TMouseButton b, TShiftState, int, int) { clicks.push_back(b); };
    tray->Tray().OnMouseDown = [&](TTrayIcon&, TMouseButton, TShiftState, int, int) { ++downs; };
    ::PostMessageW(window, TrayNotifyMessage, 0, WM_LBUTTONDOWN);
    ::PostMessageW(window, TrayNotifyMessage, 0, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); }));
    EXPECT_EQ(clicks, std::vector<TMouseButton>{TMouseButton::mbLeft});
    EXPECT_EQ(downs, 1);

    // Right button with a menu: the menu pops up (and closes itself), no click.
    ClosingMenu menu;
    tray->Tray().SetPopupMenu(&menu);
    ::PostMessageW(window, TrayNotifyMessage, 0, WM_RBUTTONDOWN);
    ::PostMessageW(window, TrayNotifyMessage, 0, WM_RBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return menu.popups == 1 && downs == 2; }));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(clicks.size(), 1u);

    // Other messages go on to the default handling.
    EXPECT_EQ(::SendMessageW(window, WM_USER + 5, 0, 0), 0);

    tray.reset();
    EXPECT_FALSE(::IsWindow(window));
    // Gone from the notification area: the shell no longer knows the icon.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    EXPECT_FALSE(::Shell_NotifyIconA(NIM_DELETE, &data));
}

// A restarted shell knows none of the icons; it says so to every top-level window.
TEST(TrayIconWin32, AddsTheIconAgainWhenTheShellRestarts) {
    TrayIconWin32 tray;
    TIcon icon;
    tray.Tray().SetHint("Tessera");
    tray.Tray().SetIcon(Solid(icon, 0xFF2040C0));
    ASSERT_TRUE(tray.Tray().Added());
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = tray.trayWindow();
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &data)) << "the icon goes with the old shell";

    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    // The shell modifies only an icon it has.
    EXPECT_TRUE(PumpUntil([&] { return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE; }));
}

TEST(TrayIconWin32, AnimationChangesTheIconOverTime) {
    TrayIconWin32 tray;
    TIcon icon;
    tray.Tray().SetHint("Tessera");
    tray.Tray().SetIcon(Solid(icon, 0xFF000000));
    TIconList frames;
    for (std::uint32_t colour : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}) frames.Add(Solid(icon, colour));
    tray.Tray().SetIcons(frames);
    tray.Tray().SetInterval(30);
    tray.Tray().SetAnimated(true);
    ASSERT_TRUE(tray.Tray().Added());

    std::set<IconHandle> seen;
    std::set<int> frameIndexes;
    EXPECT_TRUE(PumpUntil([&] {
        seen.insert(tray.Tray().IconData().icon);
        frameIndexes.insert(tray.Tray().FrameIndex());
        return seen.size() == 3 && frameIndexes.size() == 3;
    }));
    EXPECT_EQ(seen.count(0), 0u);
}

// Every icon comes in the sizes of every display scaling; the tray shows the small icon's.
TEST(TrayIconWin32, ProgramIconsLoadFromResourcesAtTheSmallIconSize) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"MAINICON", L"FRAME0", L"FRAME1", L"FRAME2"}) {
        const auto image = LoadIconImage(self, name);
        ASSERT_GE(image.size(), 6u);
        EXPECT_EQ(image[4], 7) << "16, 20, 24, 32, 40, 48 and 64 pixels";
        IconMakerWin32 maker;
        const IconHandle handle = maker.Make(image);
        EXPECT_NE(handle, 0u);
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(handle), &info));
        BITMAP mask{};
        ::GetObjectW(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        maker.Free(handle);
    }
    EXPECT_TRUE(LoadIconImage(self, L"NOSUCHICON").empty());
}

}  // namespace
}  // namespace tessera
