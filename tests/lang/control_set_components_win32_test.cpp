// The switcher against real controls, a real menu and the real message box.
#include "lang/control_set_components_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "../win/box_driver.h"
#include "lang/language_dialogs_win32.h"
#include "lang/language_tables.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

using win::ControlRow;

const std::array<ControlRow, 4> kRows{{
    {"WinStart", L"BUTTON", 10, 8, 8, 200, 17, WS_VISIBLE | BS_AUTOCHECKBOX, 0, 1, "Start with Windows"},
    {"Label1", L"STATIC", 11, 8, 30, 200, 16, WS_VISIBLE, 0, -1, "stored"},
    {"Edit1", L"EDIT", 12, 8, 50, 200, 21, WS_VISIBLE | WS_BORDER, 0, 2, "typed"},
    {"Button3", L"BUTTON", 13, 8, 80, 80, 23, WS_VISIBLE, 0, 3, "Cancel"},
}};

std::wstring TextOf(HWND h) {
    wchar_t buf[256] = {};
    ::GetWindowTextW(h, buf, 256);
    return buf;
}

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t buf[256] = {};
    ::GetMenuStringW(menu, id, buf, 256, MF_BYCOMMAND);
    return buf;
}

struct ControlSetComponentsTest : ::testing::Test {
    win::unique_hwnd form{::CreateWindowExW(0, L"STATIC", L"stored", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                            nullptr, nullptr, nullptr)};
    win::ControlSet controls;
    win::unique_hmenu menu{::CreatePopupMenu()};
    LanguageDialogsWin32 dialogs;

    void SetUp() override {
        ASSERT_TRUE(form);
        controls.Create(form.get(), kRows, 96);
        ::AppendMenuW(menu.get(), MF_STRING, 1, L"Options");
        ::AppendMenuW(menu.get(), MF_STRING, 2, L"Clear");
        ::AppendMenuW(menu.get(), MF_STRING, 3, L"Quit");
    }
    void TearDown() override { SetAllLanguages(0); }
};

TEST_F(ControlSetComponentsTest, MainTableReachesControlsAndMenuInFrench) {
    const NamedMenuItem items[] = {
        {"Showmainscreen2", menu.get(), 1}, {"ViderlePressepapiers1", menu.get(), 2}, {"Close2", menu.get(), 3}};
    ControlSetComponents components(form.get(), controls, kRows, items, "MS Sans Serif", 0);
    TMultiLang ml(components, dialogs);
    LoadStoredData(ml, MainFormTable());

    EXPECT_EQ(TextOf(controls["WinStart"]), L"Démarrer avec Windows");
    EXPECT_EQ(TextOf(controls["Label1"]), L"Raccourci pour \"Coller\" : Ctrl + Espace");
    EXPECT_EQ(MenuText(menu.get(), 1), L"&Options...");
    EXPECT_EQ(MenuText(menu.get(), 2), L"&Vider le Presse-papiers...");
    EXPECT_EQ(MenuText(menu.get(), 3), L"&Quitter");
    EXPECT_EQ(TextOf(form.get()), L"stored");  // the main window's table has no form row
}

TEST_F(ControlSetComponentsTest, ChooserTableSetsCaptionEmptiesEditAndShowsItsHint) {
    ControlSetComponents components(form.get(), controls, kRows, {}, "MS Sans Serif", 1);
    TMultiLang ml(components, dialogs);
    LoadStoredData(ml, ChooserTable());

    EXPECT_EQ(TextOf(form.get()), L"Coller...");
    EXPECT_EQ(TextOf(controls["Edit1"]), L"");
    EXPECT_EQ(TextOf(controls["Button3"]), L"Annuler");
    ASSERT_NE(components.ToolTips(), nullptr);
    wchar_t hint[128] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form.get();
    tool.uId = reinterpret_cast<UINT_PTR>(controls["Edit1"]);
    tool.lpszText = hint;
    ::SendMessageW(components.ToolTips(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(hint), L"Renommez ici l'élément à coller");

    ml.SetActiveLanguage(1);
    EXPECT_EQ(TextOf(form.get()), L"Paste...");
    ::SendMessageW(components.ToolTips(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(hint), L"Rename this item here");
}

TEST_F(ControlSetComponentsTest, OutOfRangeLanguageShowsACentredCancelOnlyBox) {
    ControlSetComponents components(form.get(), controls, kRows, {}, "MS Sans Serif", 1);
    TMultiLang ml(components, dialogs);
    ml.Words = {"Label1", "fr", "en"};
    testing::BoxDriver driver(IDOK, L"Information");
    ml.SetActiveLanguage(5);
    const testing::SeenBox& seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.ok, L"Annuler");
    EXPECT_LE(std::abs(seen.rect.left - (::GetSystemMetrics(SM_CXSCREEN) - (seen.rect.right - seen.rect.left)) / 2), 1);
    EXPECT_LE(std::abs(seen.rect.top - (::GetSystemMetrics(SM_CYSCREEN) - (seen.rect.bottom - seen.rect.top)) / 2), 1);
    EXPECT_EQ(seen.text, L"Value must not be higher than\nnumber of available languages.");
    EXPECT_EQ(TextOf(controls["Label1"]), L"stored");
}

}  // namespace
}  // namespace tessera
