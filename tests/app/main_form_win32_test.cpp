// The main window against the real API: what its creation does (folder, settings, Run value,
// clipboard, hot keys), its first showing, and what quitting and the end of a session save.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/window_facts_win32.h"
#include "../win/box_driver.h"
#include "app/main_form_win32.h"
#include "app/program_paths.h"
#include "app/program_win32.h"
#include "app/start_with_windows.h"
#include "app/window_ids.h"
#include "commands/paste_chooser_win32.h"
#include "lang/language_tables.h"
#include "store/clip_store.h"
#include "store/disk_file_system.h"
#include "store/index_file.h"
#include "win/application.h"
#include "win/clipboard.h"
#include "win/text.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

class RecordingRegistry : public RunRegistry {
public:
    bool refuse = false;
    std::vector<std::string> calls;
    bool SetRunValue(RunScope scope, const std::string& name, const std::string& data) override {
        calls.push_back(std::string(scope == RunScope::Machine ? "set machine " : "set user ") + name + "=" + data);
        return !refuse;
    }
    bool DeleteRunValue(RunScope scope, const std::string& name) override {
        calls.push_back(std::string(scope == RunScope::Machine ? "delete machine " : "delete user ") + name);
        return true;
    }
};

using testing::ModulePath;

void PumpFor(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(::GetTickCount() - end) < 0) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

bool HotKeyTaken(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(nullptr, 0x7000, modifiers, key)) return true;
    ::UnregisterHotKey(nullptr, 0x7000);
    return false;
}

// With `mark`, the registered format of that name beside the text, holding the 32-bit number 0.
void PutTextOnClipboard(const char* text, const char* mark = nullptr) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const size_t n = std::strlen(text) + 1;
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(::GlobalLock(mem), text, n);
    ::GlobalUnlock(mem);
    ::SetClipboardData(CF_TEXT, mem);
    const DWORD zero = 0;
    if (mark) win::GiveToClipboard(::RegisterClipboardFormatA(mark), win::GlobalCopy(&zero, sizeof zero));
    ::CloseClipboard();
}

std::string IniValue(const std::string& ini, const char* section, const char* key) {
    char buf[256] = {};
    ::GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof buf, ini.c_str());
    return buf;
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::Application::Instance().SetTitle(L"Tessera");
        ini = ModulePath();
        ini = ini.substr(0, ini.rfind('.')) + ".INI";
        ::DeleteFileA(ini.c_str());
    }
    void TearDown() override { ::DeleteFileA(ini.c_str()); }

    std::string ini;
    DiskFileSystem fs;
    const ProgramPaths paths = ComputeProgramPaths(ModulePath());
    RecordingRegistry registry;
};

TEST_F(MainFormTest, CreationPreparesEverythingTheProgramNeeds) {
    PutTextOnClipboard("left over");
    {
        TForm1 form(registry, paths);
        EXPECT_EQ(::CountClipboardFormats(), 0) << "the clipboard is emptied at start";
        // No settings file: the option defaults to on, so the Run value is written.
        ASSERT_FALSE(registry.calls.empty());
        EXPECT_EQ(registry.calls.front(), "set machine Tessera=\"" + ModulePath() + '"');

        RECT r{};
        ::GetWindowRect(form.hwnd(), &r);
        EXPECT_EQ(r.left, -5000);
        EXPECT_EQ(r.top, -5000);
        EXPECT_EQ(form.SavedLeft, (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
        EXPECT_EQ(form.SavedTop, (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);

        // The tray menu shows Options, Keep every copy, Clear, a separator and Quit; "Animate tray"
        // is never shown but follows the animation switch it inverts.
        EXPECT_EQ(::GetMenuItemCount(form.TrayMenu1()), 5);
        form.Animatetray1Click();
        form.TrayMenu1Popup();
        EXPECT_FALSE(form.Animatetray1Checked());
    }
}

TEST_F(MainFormTest, OptionOffLeavesTheRegistryAlone) {
    ::WritePrivateProfileStringA("Options", "WinStart", "0", ini.c_str());
    TForm1 form(registry, paths);
    EXPECT_TRUE(registry.calls.empty());
}

TEST_F(MainFormTest, ARefusedRunValueIsReportedAndStartUpGoesOn) {
    registry.refuse = true;
    PutTextOnClipboard("left over");
    testing::BoxDriver driver(IDOK);
    TForm1 form(registry, paths);
    EXPECT_TRUE(driver.Seen().found);
    EXPECT_EQ(::CountClipboardFormats(), 0) << "the later start-up steps still ran";
}

TEST_F(MainFormTest, FirstShowingHidesTheWindowAtItsSavedPlace) {
    ::WritePrivateProfileStringA("MainW", "x", "0x64", ini.c_str());
    ::WritePrivateProfileStringA("MainW", "y", "abc", ini.c_str());
    TForm1 form(registry, paths);
    ::ShowWindow(form.hwnd(), SW_SHOWNA);
    PumpFor(400);
    EXPECT_FALSE(::IsWindowVisible(form.hwnd()));
    RECT r{};
    ::GetWindowRect(form.hwnd(), &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2) << "abc reads as the default";

    // A second showing does not hide it again.
    form.Showmainscreen2Click();
    PumpFor(300);
    EXPECT_TRUE(::IsWindowVisible(form.hwnd()));
}

TEST_F(MainFormTest, QuitAndTheEndOfTheSessionSaveTheSettings) {
    {
        TForm1 form(registry, paths);
        ::SetWindowPos(form.hwnd(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::SendMessageW(form.hwnd(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(IniValue(ini, "MainW", "x"), "30");
        EXPECT_EQ(IniValue(ini, "MainW", "y"), "40");
        EXPECT_EQ(IniValue(ini, "Options", "WinStart"), "1");
        ::SetWindowPos(form.hwnd(), nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        form.Close2Click();
        EXPECT_EQ(form.hwnd(), nullptr) << "quitting closes the main window";
        PumpFor(50);  // takes the quit message out of this thread's queue
    }
    EXPECT_EQ(IniValue(ini, "MainW", "x"), "50");
    EXPECT_EQ(IniValue(ini, "MainW", "y"), "60");
}

// The whole program, as the start-up code makes it: the hot keys it takes and gives back, what it
// says of a key another program holds, the options window's choices.
class ProgramTest : public MainFormTest {
protected:
    // As the entry makes it: the store claimed, the forms made, the hot keys taken.
    static void StartUp(Program& program) {
        ASSERT_TRUE(program.ClaimStore());
        program.MakeForms();
        program.Start();
    }
    static std::wstring Text(HWND window) { return testing::TextOf(window); }
    // Every control and caption a table names shows the table's text in `language`.
    void ExpectTexts(const win::Form& form, const LanguageTable& table, int language) {
        for (std::size_t row = 0; row + 2 < table.words.size(); row += 3) {
            const std::string key = table.words[row];
            const std::wstring want = win::Utf8ToWide(table.words[row + 1 + language]);
            if (key == "%Form%") {
                EXPECT_EQ(Text(form.hwnd()), want) << "caption";
            } else if (HWND control = form.Control(key); control && !want.empty()) {
                EXPECT_EQ(Text(control), want) << key;
            }
        }
    }
    // As the user's keys in a hot-key field: the field takes them and tells its window.
    static void ChooseInField(TForm1& form, const char* name, WORD keys) {
        HWND field = form.Control(name);
        ::SendMessageW(field, HKM_SETHOTKEY, keys, 0);
        ::SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(field), EN_CHANGE),
                       reinterpret_cast<LPARAM>(field));
    }
    std::vector<std::wstring> MenuTexts(HMENU menu) {
        std::vector<std::wstring> texts;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t buf[128] = {};
            ::GetMenuStringW(menu, i, buf, 128, MF_BYPOSITION);
            texts.push_back(buf);
        }
        return texts;
    }
};

// The clear command over a store whose index also names a decoy outside the store.
TEST_F(ProgramTest, ClearingAsksFirstAndDeletesOnlyTheStoresFiles) {
    const std::string decoy = paths.exeDir + "decoy.txt";
    const std::string item = paths.storeDir + "\\Image_001.bmp";
    Program program(fs, registry, paths);
    ASSERT_TRUE(program.ClaimStore());
    ASSERT_TRUE(fs.ReplaceContents(decoy, "keep me"));
    ASSERT_TRUE(fs.ReplaceContents(item, "BM"));
    ClipIndex crafted;
    crafted.AppendItem("Image_001", "Image_001.bmp");
    crafted.AppendItem("decoy", "..\\decoy.txt");
    SaveIndexFile(fs, crafted, paths.indexFileName);
    program.MakeForms();
    program.Start();
    TForm1& form = program.MainWindow();
    TChoix& choix = program.Chooser();
    {
        PutTextOnClipboard("still here");
        {
            // Enter, Enter: the first pressed the chooser's clear button, the second answers No.
            testing::BoxDriver enter(testing::BoxDriver::kEnter);
            form.ViderlePressepapiers1Click();
        }
        {
            testing::BoxDriver no(IDNO);
            form.ViderlePressepapiers1Click();
        }
        EXPECT_TRUE(fs.FileExists(item)) << "No changes nothing";
        EXPECT_TRUE(fs.FileExists(paths.indexFileName));
        EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
        {
            testing::BoxDriver yes(IDYES, L"Confirmation");
            testing::BoxDriver done(IDOK, L"Information");  // the message that follows
            form.ViderlePressepapiers1Click();
            EXPECT_EQ(done.Seen().text, L"Presse-papiers interne vid\u00e9.");
        }
        EXPECT_FALSE(fs.FileExists(item));
        EXPECT_TRUE(fs.FileExists(decoy)) << "a name leading out of the store is never deleted through";
        EXPECT_FALSE(fs.FileExists(paths.indexFileName));
        EXPECT_EQ(::CountClipboardFormats(), 0);
        EXPECT_EQ(choix.ListCount(), 0);

        // A file another program holds open is named instead of the message that all is gone,
        // and stays an item.
        const std::string held = paths.storeDir + "\\Texte_001.txt";
        ASSERT_TRUE(fs.ReplaceContents(held, "{\\rtf1 held}"));
        win::unique_hfile open(
            ::CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(open);
        {
            testing::BoxDriver yes(IDYES, L"Confirmation");
            testing::BoxDriver failed(IDOK, L"Erreur");
            form.ViderlePressepapiers1Click();
            EXPECT_EQ(failed.Seen().text,
                      L"Ces fichiers n'ont pas pu \u00eatre supprim\u00e9s :\n" + win::AnsiToWide(held));
        }
        EXPECT_EQ(choix.ListCount(), 1);
        EXPECT_EQ(choix.Line(0), "Texte_001");
        open.reset();
        fs.RemoveFile(held);
    }
    fs.RemoveFile(decoy);
}

TEST_F(ProgramTest, TheHotKeysAreTakenAtStartAndGivenBackAtTheEnd) {
    {
        Program program(fs, registry, paths);
        StartUp(program);
        EXPECT_TRUE(HotKeyTaken(MOD_CONTROL, VK_SPACE));
        EXPECT_TRUE(HotKeyTaken(MOD_CONTROL, 'Q'));
    }
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL, VK_SPACE)) << "hot keys are given back at the end";
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL, 'Q'));
}

TEST_F(ProgramTest, AKeyAnotherProgramHoldsIsReportedOnceAndTheOtherKeyWorks) {
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x7001, MOD_CONTROL, 'Q'));
    {
        Program program(fs, registry, paths);
        ASSERT_TRUE(program.ClaimStore());
        program.MakeForms();
        std::vector<std::wstring> told;
        program.Commands().TellUser = [&told](const std::wstring& text) { told.push_back(text); };
        program.Start();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(L"Ctrl + Q"), std::wstring::npos) << "the message names the shortcut";
        EXPECT_EQ(Text(program.MainWindow().Control("Label4")), L"Raccourci pour \"Copier\" : Ctrl + Q (inactif)");
        EXPECT_EQ(Text(program.MainWindow().Control("Label1")), L"Raccourci pour \"Coller\" : Ctrl + Espace");
        EXPECT_TRUE(HotKeyTaken(MOD_CONTROL, VK_SPACE)) << "the paste key is in force";
    }
    ::UnregisterHotKey(nullptr, 0x7001);
}

TEST_F(ProgramTest, AKeyChangedInTheOptionsWindowReplacesTheOldOneAndIsSaved) {
    Program program(fs, registry, paths);
    StartUp(program);
    TForm1& form = program.MainWindow();
    ChooseInField(form, "CopyKey", MAKEWORD('C', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL, 'Q')) << "the old key is given back";
    EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_SHIFT, 'C'));
    EXPECT_EQ(Text(form.Control("Label4")), L"Raccourci pour \"Copier\" : Ctrl + Maj + C");
    EXPECT_EQ(IniValue(ini, "Options", "CopyHotKey"), "Ctrl+Shift+C") << "saved at once";
    EXPECT_EQ(IniValue(ini, "Options", "PasteHotKey"), "Ctrl+Space");
}

// The fields cannot show Win: a Win key from the settings file stays in force, and saved, when
// the user changes the other field.
TEST_F(ProgramTest, AWinKeyFromTheSettingsOutlivesAChangeOfTheOtherField) {
    ::WritePrivateProfileStringA("Options", "PasteHotKey", "Win+Insert", ini.c_str());
    Program program(fs, registry, paths);
    StartUp(program);
    TForm1& form = program.MainWindow();
    ChooseInField(form, "CopyKey", MAKEWORD('C', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_FALSE(HotKeyTaken(0, VK_INSERT)) << "Insert alone stays every program's";
    EXPECT_EQ(IniValue(ini, "Options", "PasteHotKey"), "Win+Insert");
}

TEST_F(ProgramTest, EnglishChosenThenRestartedShowsEveryFormInEnglish) {
    {
        Program program(fs, registry, paths);
        StartUp(program);
        HWND languages = program.MainWindow().Control("Language");
        ::SendMessageW(languages, CB_SETCURSEL, 1, 0);
        ::SendMessageW(program.MainWindow().hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(languages), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(languages));
        EXPECT_EQ(IniValue(ini, "Options", "Language"), "EN") << "saved at once";
    }
    EXPECT_EQ(IniValue(ini, "Options", "Language"), "EN");
    Program program(fs, registry, paths);
    StartUp(program);
    ExpectTexts(program.MainWindow(), MainFormTable(), 1);
    ExpectTexts(program.Chooser(), ChooserTable(), 1);
    ExpectTexts(program.AboutBox(), AboutBoxTable(), 1);
    const std::vector<std::wstring> menu = MenuTexts(program.MainWindow().TrayMenu1());
    EXPECT_NE(std::find(menu.begin(), menu.end(), L"&Quit"), menu.end());
    testing::BoxDriver no(IDNO);
    program.MainWindow().ViderlePressepapiers1Click();
    EXPECT_EQ(no.Seen().caption, L"Confirmation");
    EXPECT_EQ(no.Seen().text, L"Do you really want to clear the internal ClipBoard ?");
    EXPECT_EQ(no.Seen().no, L"&No");
}

// Seen by users of other histories: the passwords their password manager copied were kept. With
// the option on, no file of a marked text appears in the store's folder, not even for a moment.
TEST_F(ProgramTest, KeepEveryCopyOutlivesARestartAndNeverFilesAMarkedText) {
    // The check box's state when the tray menu's item shows the same, else -1.
    const auto shown = [](TForm1& form) -> LRESULT {
        const LRESULT box = ::SendMessageW(form.Control("KeepEveryCopy"), BM_GETCHECK, 0, 0);
        const bool item = ::GetMenuState(form.TrayMenu1(), kKeepEveryCopyCommand, MF_BYCOMMAND) & MF_CHECKED;
        return (box == BST_CHECKED) == item ? box : -1;
    };
    {
        Program first(fs, registry, paths);
        StartUp(first);
        ::SendMessageW(first.MainWindow().Control("KeepEveryCopy"), BM_CLICK, 0, 0);
    }
    Program program(fs, registry, paths);
    StartUp(program);
    TForm1& form = program.MainWindow();
    EXPECT_EQ(shown(form), BST_CHECKED);
    EXPECT_NE(form.TrayIcon1->Tray().Hint().find("garde chaque copie"), std::string::npos);
    const std::unique_ptr<FolderWatch> watch = fs.WatchFolder(paths.storeDir);
    watch->TakeChanges();
    for (const char* mark :
         {"ExcludeClipboardContentFromMonitorProcessing", "Clipboard Viewer Ignore", "CanIncludeInClipboardHistory"}) {
        PutTextOnClipboard("mot de passe", mark);
        PumpFor(600);
    }
    EXPECT_EQ(watch->TakeChanges().changes.size(), 0u);
    PutTextOnClipboard("copied elsewhere");
    for (int i = 0; i < 100 && program.Chooser().ListCount() == 0; ++i) PumpFor(50);
    ASSERT_EQ(program.Chooser().ListCount(), 1);
    const std::string item = paths.storeDir + "\\" + program.Chooser().Line(0) + ".txt";
    EXPECT_NE(fs.ReadAll(item).value_or("").find("copied elsewhere"), std::string::npos);
    ::SendMessageW(form.hwnd(), WM_COMMAND, kKeepEveryCopyCommand, 0);  // the tray menu's item
    EXPECT_EQ(shown(form), BST_UNCHECKED);
    EXPECT_EQ(IniValue(ini, "Options", "KeepEveryCopy"), "0");
    fs.RemoveFile(item);
    fs.RemoveFile(paths.indexFileName);
}

// Seen by users: in English a capture that could not be filed was reported in French. Here the
// store's folder was moved away and a file took its place, so it cannot be made again.
TEST_F(ProgramTest, ACaptureThatCannotBeFiledIsReportedInTheUsersLanguage) {
    ::WritePrivateProfileStringA("Options", "Language", "EN", ini.c_str());
    ProgramPaths away = paths;
    away.storeDir = paths.exeDir + "away\\Clipboard";
    away.indexFileName = paths.exeDir + "away.FIC";
    {
        Program program(fs, registry, away);
        StartUp(program);
        ASSERT_TRUE(::MoveFileA((paths.exeDir + "away").c_str(), (paths.exeDir + "away-moved").c_str()));
        ASSERT_TRUE(fs.ReplaceContents(paths.exeDir + "away", "a file where the folder was"));
        PutTextOnClipboard("to keep");
        HotKeyCommands& commands = program.Commands().Commands();
        commands.CapturePending = true;
        try {
            commands.OnClipboardChange();
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create the folder " + away.storeDir);
        }
    }
    fs.RemoveFile(paths.exeDir + "away");
    ::RemoveDirectoryA((paths.exeDir + "away-moved\\Clipboard").c_str());
    ::RemoveDirectoryA((paths.exeDir + "away-moved").c_str());
}

}  // namespace
}  // namespace tessera
