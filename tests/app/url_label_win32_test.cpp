// TUrlLabel on a real label: the colours while the buttons are pressed, what a click opens, and
// what "Copy" puts on the clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/url_label_win32.h"

namespace tessera {
namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class UrlLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr, nullptr,
                                    nullptr);
        ASSERT_NE(parent_, nullptr);
        HWND h = ::CreateWindowExW(0, L"STATIC", L"Site web", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 80, 13,
                                   parent_, nullptr, nullptr, nullptr);
        ASSERT_NE(h, nullptr);
        label_ = std::make_unique<TUrlLabel>(h);
        label_->URL = "https://tessera.example.org/";
        label_->Open = [this](const std::string& target) { opened_.push_back(target); };
    }
    void TearDown() override {
        label_.reset();
        if (parent_) ::DestroyWindow(parent_);
    }
    void Send(UINT message, LPARAM lParam, WPARAM wParam = 0) {
        ::SendMessageW(label_->hwnd(), message, wParam, lParam);
    }

    HWND parent_ = nullptr;
    std::unique_ptr<TUrlLabel> label_;
    std::vector<std::string> opened_;
};

TEST_F(UrlLabelTest, LeftButtonShowsTheActiveColourWhileHeldAndAClickOpensTheUrl) {
    EXPECT_EQ(label_->FontColor(), RGB(0, 0, 255));
    EXPECT_EQ(label_->ActiveColor, RGB(128, 0, 128));

    Send(WM_LBUTTONDOWN, At(5, 5), MK_LBUTTON);
    EXPECT_EQ(label_->FontColor(), RGB(128, 0, 128));
    EXPECT_TRUE(opened_.empty()) << "the press alone opens nothing";
    Send(WM_LBUTTONUP, At(5, 5));
    EXPECT_EQ(label_->FontColor(), RGB(0, 0, 255));
    EXPECT_EQ(opened_, std::vector<std::string>{"https://tessera.example.org/"});

    // A release away from the label is no click; the colour comes back all the same.
    label_->ActiveColor = RGB(255, 0, 0);
    Send(WM_LBUTTONDOWN, At(5, 5), MK_LBUTTON);
    EXPECT_EQ(label_->FontColor(), RGB(255, 0, 0));
    Send(WM_LBUTTONUP, At(500, 5));
    EXPECT_EQ(label_->FontColor(), RGB(0, 0, 255));
    EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(UrlLabelTest, RightButtonLeavesTheColourAlone) {
    Send(WM_RBUTTONDOWN, At(5, 5), MK_RBUTTON);
    EXPECT_EQ(label_->FontColor(), RGB(0, 0, 255));
    // Nor does it end a left press.
    Send(WM_LBUTTONDOWN, At(5, 5), MK_LBUTTON);
    Send(WM_RBUTTONDOWN, At(5, 5), MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ(label_->FontColor(), RGB(128, 0, 128));
    Send(WM_LBUTTONUP, At(500, 5));

    ASSERT_EQ(::GetMenuItemCount(label_->Menu()), 1);
    wchar_t item[32] = {};
    ::GetMenuStringW(label_->Menu(), 0, item, 32, MF_BYPOSITION);
    EXPECT_STREQ(item, L"Copy");
}

bool g_menuSeen = false;

// The menu runs a loop of its own: a timer of this thread finds it on screen, then closes it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    g_menuSeen = g_menuSeen || (menu && ::IsWindowVisible(menu));
    ::EndMenu();
}

TEST_F(UrlLabelTest, RightClickOpensTheCopyMenu) {
    ::ShowWindow(parent_, SW_SHOW);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, CloseMenu);
    RECT r{};
    ::GetWindowRect(label_->hwnd(), &r);
    Send(WM_CONTEXTMENU, MAKELPARAM(r.left + 5, r.top + 5), reinterpret_cast<WPARAM>(label_->hwnd()));
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_menuSeen);
    EXPECT_EQ(label_->FontColor(), RGB(0, 0, 255));
}

TEST_F(UrlLabelTest, ClickRunsOnClickFirstAndOpensTheCaptionWhenTheUrlIsBlank) {
    std::vector<std::string> order;
    label_->OnClick = [&] { order.push_back("OnClick"); };
    label_->Open = [&](const std::string& target) { order.push_back(target); };
    label_->URL = "  ";
    ::SetWindowTextW(label_->hwnd(), L"https://caption.example/");
    label_->Click();
    EXPECT_EQ(order, (std::vector<std::string>{"OnClick", "https://caption.example/"}));

    // Nothing to open: the click is still a click.
    order.clear();
    ::SetWindowTextW(label_->hwnd(), L" ");
    label_->Click();
    EXPECT_EQ(order, std::vector<std::string>{"OnClick"});
}

TEST_F(UrlLabelTest, CopyPutsTheCaptionNotTheUrlOnTheClipboard) {
    label_->CopyClick();
    ASSERT_TRUE(::OpenClipboard(nullptr));
    std::string text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    EXPECT_EQ(text, "Site web");
}

}  // namespace
}  // namespace tessera
