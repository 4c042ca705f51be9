// The About box as the program makes it: its texts in both languages, and OK closing it with
// Ok from inside its modal loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/about_box_win32.h"
#include "lang/multi_lang_base.h"
#include "win/application.h"

namespace tessera {
namespace {

std::wstring TextOf(HWND h) {
    wchar_t buf[256] = {};
    ::GetWindowTextW(h, buf, 256);
    return buf;
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::Application::Instance().SetTitle(L"Tessera");
        SetAllLanguages(0);
        owner_ = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                   nullptr, nullptr);
        box_ = std::make_unique<TAboutBox>(owner_);
    }
    void TearDown() override {
        box_.reset();
        ::DestroyWindow(owner_);
        SetAllLanguages(0);
    }
    HWND owner_ = nullptr;
    std::unique_ptr<TAboutBox> box_;
};

TEST_F(AboutBoxTest, ShowsTheProgramItsVersionAndTheTranslatedTexts) {
    RECT client{};
    ::GetClientRect(box_->hwnd(), &client);
    EXPECT_EQ(client.right, 298);
    EXPECT_EQ(client.bottom, 196);

    EXPECT_EQ(TextOf(box_->hwnd()), L"A propos");
    EXPECT_EQ(TextOf(box_->Control("ProductName")), L"Tessera");
    EXPECT_EQ(TextOf(box_->Control("Version")),
              sizeof(void*) == 8 ? L"Version 1.0 - 64 bits" : L"Version 1.0 - 32 bits");
    EXPECT_EQ(TextOf(box_->Control("Comments")), L"pour Windows 95/98/ME/2000/XP");
    EXPECT_EQ(TextOf(box_->Control("UrlLabel1")), L"Site web");
    EXPECT_EQ(box_->UrlLabel1->URL, "https://tessera.example.org/");
    EXPECT_EQ(box_->UrlLabel1->FontColor(), RGB(0, 0, 255));

    SetAllLanguages(1);
    EXPECT_EQ(TextOf(box_->hwnd()), L"About");
    EXPECT_EQ(TextOf(box_->Control("Comments")), L"for Windows 95/98/ME/2000/XP");
    EXPECT_EQ(TextOf(box_->Control("UrlLabel1")), L"Web site");
}

TEST_F(AboutBoxTest, OkClosesTheModalBoxWithOk) {
    // Handled once the modal loop runs: the button clicks itself as a user's click would.
    ::PostMessageW(box_->Control("OKButton"), BM_CLICK, 0, 0);
    EXPECT_EQ(box_->ShowModal(), win::ModalResult::Ok);
    EXPECT_FALSE(::IsWindowVisible(box_->hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(owner_)) << "the owner is enabled again";

    // Closed from its caption instead: cancelled. It opens again after either.
    ::PostMessageW(box_->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(box_->ShowModal(), win::ModalResult::Cancel);
    ::PostMessageW(box_->hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(box_->ShowModal(), win::ModalResult::Ok);
}

}  // namespace
}  // namespace tessera
