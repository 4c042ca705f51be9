// The key sender against the real API: finding a window by title or by its remembered handle,
// bringing it back, and keys arriving at it in the order they were sent.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "keys/key_sender_win32.h"
#include "keys/key_string.h"
#include "win/window.h"

namespace tessera {
namespace {

struct KeyMessage {
    UINT message;
    int vk;
    int scan;
    bool extended;
    bool operator==(const KeyMessage&) const = default;
};

std::ostream& operator<<(std::ostream& os, const KeyMessage& k) {
    return os << (k.message == WM_KEYDOWN ? "down "
                  : k.message == WM_KEYUP ? "up "
                                          : "other ")
              << k.vk << " scan " << k.scan << (k.extended ? " ext" : "");
}

// A top-level window that records the key messages it is given.
class TargetWindow : public win::Window {
public:
    explicit TargetWindow(const std::string& title, bool visible = true) {
        const std::wstring wide(title.begin(), title.end());
        CreateWindowObject(L"TesseraKeysTarget", 0, wide.c_str(), WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 50,
                           50, 300, 200, nullptr);
    }
    std::vector<KeyMessage> keys;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) {
            keys.push_back({message, static_cast<int>(wParam), static_cast<int>((lParam >> 16) & 0xFF),
                            ((lParam >> 24) & 1) != 0});
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

void PumpUntil(const std::vector<KeyMessage>& seen, size_t count) {
    const DWORD start = ::GetTickCount();
    while (seen.size() < count && ::GetTickCount() - start < 3000) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

bool IsAbove(HWND upper, HWND lower) {
    for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (w == lower) return true;
    }
    return false;
}

TEST(KeySender, RestoresAMinimisedWindowAndOnlyRaisesAVisibleOne) {
    TargetWindow first("Tessera keys first");
    TargetWindow second("Tessera keys second");

    ::ShowWindow(first.hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(first.hwnd()));
    RestoreOrRaiseWindow(first.hwnd());
    EXPECT_FALSE(::IsIconic(first.hwnd()));
    EXPECT_TRUE(::IsWindowVisible(first.hwnd()));

    // A maximised window that is not on top: raised, and still maximised (a restore would undo it).
    ::ShowWindow(second.hwnd(), SW_MAXIMIZE);
    ::SetWindowPos(first.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(IsAbove(first.hwnd(), second.hwnd()));
    RestoreOrRaiseWindow(second.hwnd());
    EXPECT_TRUE(IsAbove(second.hwnd(), first.hwnd()));
    EXPECT_TRUE(::IsZoomed(second.hwnd()));

    RestoreOrRaiseWindow(nullptr);  // no window found: nothing happens
}

TEST(KeySender, FindsWindowsByTheirWholeTitle) {
    std::string longTitle = "Tessera keys long ";
    longTitle.resize(300, 'x');
    longTitle += "end";
    TargetWindow window(longTitle, false);
    // Titles beyond 255 characters are searched whole, so the recorded title finds its window...
    EXPECT_EQ(FindWindowByTitle(longTitle), window.hwnd());
    // ...and a cut one, being another title, does not.
    EXPECT_EQ(FindWindowByTitle(longTitle.substr(0, 255)), nullptr);
    EXPECT_EQ(FindWindowByTitle("Tessera keys: no such window"), nullptr);
    // The longest title a caller can record.
    EXPECT_EQ(FindWindowByTitle(std::string(4095, 'y')), nullptr);
}

TEST(KeySender, KeysReachTheNamedWindowInOrder) {
    TargetWindow target("Tessera keys target");
    TargetWindow other("Tessera keys other");
    ::SetForegroundWindow(other.hwnd());
    PumpUntil(other.keys, 0);

    // Copy, "A", "~" (Shift in the US layout), Page Up.
    SendKeysToWindow("Tessera keys target", std::string(kCopyKeys) + "A~\xF6");
    const std::vector<KeyMessage>& got = target.keys;
    const short tilde = ::VkKeyScanA('~');
    ASSERT_EQ(tilde >> 8, 1) << "the test expects a layout where '~' needs Shift";
    const int oem = tilde & 0xFF;
    auto scan = [](int vk) { return static_cast<int>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)); };
    const std::vector<KeyMessage> expected = {
        {WM_KEYDOWN, 17, scan(17), false}, {WM_KEYDOWN, 'C', scan('C'), false}, {WM_KEYUP, 'C', scan('C'), false},
        {WM_KEYUP, 17, scan(17), false},   {WM_KEYDOWN, 'A', scan('A'), false}, {WM_KEYUP, 'A', scan('A'), false},
        {WM_KEYDOWN, 16, 42, false},       {WM_KEYDOWN, oem, scan(oem), false}, {WM_KEYUP, oem, scan(oem), false},
        {WM_KEYUP, 16, 42, false},         {WM_KEYDOWN, 33, scan(33), false},   {WM_KEYUP, 33, scan(33), false},
    };
    PumpUntil(got, expected.size());
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(other.keys.empty());
}

std::uintptr_t Handle(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

// With two windows of one title the title found the first one, and a Ctrl+Q made in the other
// filed the first's selection: the remembered handle decides. Once it is gone a namesake is
// found by title; an empty title finds nothing, though untitled windows are around.
TEST(KeySender, KeysGoToTheRememberedWindowAndAGoneUntitledOneIsNotSearched) {
    TargetWindow first("Tessera keys twin");
    TargetWindow second("Tessera keys twin");
    const HWND byTitle = FindWindowByTitle("Tessera keys twin");
    ASSERT_TRUE(byTitle == first.hwnd() || byTitle == second.hwnd());
    TargetWindow& found = byTitle == first.hwnd() ? first : second;
    TargetWindow& other = byTitle == first.hwnd() ? second : first;
    ::SetForegroundWindow(found.hwnd());

    SendKeysToTarget(FindTargetWindow({Handle(other.hwnd()), "Tessera keys twin"}), std::string(kPasteKeys), true);
    PumpUntil(other.keys, 4);
    EXPECT_EQ(::GetForegroundWindow(), other.hwnd());
    EXPECT_EQ(other.keys.size(), 4u);
    EXPECT_TRUE(found.keys.empty());

    HWND gone = nullptr;
    {
        TargetWindow closed("Tessera keys twin");
        gone = closed.hwnd();
    }
    const HWND namesake = FindTargetWindow({Handle(gone), "Tessera keys twin"});
    EXPECT_TRUE(namesake == first.hwnd() || namesake == second.hwnd());
    TargetWindow untitled("", false);
    ASSERT_NE(FindWindowByTitle(""), nullptr);
    EXPECT_EQ(FindTargetWindow({Handle(gone), ""}), nullptr);
}

}  // namespace
}  // namespace tessera
