// The chooser dialog against the real controls: previews of every item kind, delete, rename,
// edits written back, and the keys that close it (or must not).
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <functional>
#include <string>

#include "../win/box_driver.h"
#include "commands/hot_key_commands_win32.h"
#include "commands/paste_chooser_win32.h"
#include "search/disk_item_files.h"
#include "search/item_search.h"
#include "store/clip_store.h"
#include "store/disk_file_system.h"
#include "store/index_file.h"
#include "store/placeable_metafile.h"
#include "win/rich_edit.h"

namespace tessera {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

std::string BitmapFile() {  // 4 × 4 pixels, 24 bits, all red
    const int stride = 12;
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info{sizeof info, 4, 4, 1, 24, BI_RGB, 4 * stride, 0, 0, 0, 0};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int i = 0; i < 16; ++i) bytes += std::string("\x00\x00\xFF", 3);
    file.bfSize = static_cast<DWORD>(bytes.size());
    bytes.replace(0, sizeof file, reinterpret_cast<const char*>(&file), sizeof file);
    return bytes;
}

// A red square drawn over the whole of a 100 × 100 picture.
void DrawRedSquare(HDC dc) {
    HBRUSH red = ::CreateSolidBrush(kRed);
    HGDIOBJ old = ::SelectObject(dc, red);
    ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    ::Rectangle(dc, 0, 0, 101, 101);
    ::SelectObject(dc, old);
    ::DeleteObject(red);
}

std::string MetafileRecords() {
    HDC dc = ::CreateMetaFileW(nullptr);
    ::SetWindowExtEx(dc, 100, 100, nullptr);
    DrawRedSquare(dc);
    HMETAFILE mf = ::CloseMetaFile(dc);
    std::string bytes(::GetMetaFileBitsEx(mf, 0, nullptr), '\0');
    ::GetMetaFileBitsEx(mf, static_cast<UINT>(bytes.size()), bytes.data());
    ::DeleteMetaFile(mf);
    return bytes;
}

std::string EnhMetafile() {
    RECT frame{0, 0, 2000, 2000};
    HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    DrawRedSquare(dc);
    HENHMETAFILE mf = ::CloseEnhMetaFile(dc);
    std::string bytes(::GetEnhMetaFileBits(mf, 0, nullptr), '\0');
    ::GetEnhMetaFileBits(mf, static_cast<UINT>(bytes.size()), reinterpret_cast<BYTE*>(bytes.data()));
    ::DeleteEnhMetaFile(mf);
    return bytes;
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Runs `whileOpen` once the modal dialog is up, from its own message loop.
std::function<void()> g_whileOpen;
void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    auto action = std::move(g_whileOpen);
    if (action) action();
}
// From a step of RunModal: runs `next` once the messages posted so far (and those they post) are handled.
void ThenWhileOpen(std::function<void()> next) {
    g_whileOpen = std::move(next);
    ::SetTimer(nullptr, 0, 50, RunWhileOpen);
}
ChooserResult RunModal(TChoix& choix, std::function<void()> whileOpen) {
    ThenWhileOpen(std::move(whileOpen));
    return choix.ShowModal();
}

class ChooserDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::CreateDirectoryA(exeDir.c_str(), nullptr);
        ::CreateDirectoryA(store.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& name : fs.ListPlainFiles(exeDir + "Clipboard")) fs.RemoveFile(store + name);
        fs.RemoveFile(exeDir + "index.fic");
        ::RemoveDirectoryA(store.c_str());
        ::RemoveDirectoryA(exeDir.c_str());
    }
    // The items' files, listed in this order by the index file.
    void Prepare(const std::vector<std::pair<std::string, std::string>>& items) {
        ClipIndex index;
        for (const auto& [name, bytes] : items) {
            ASSERT_TRUE(fs.ReplaceContents(store + name, bytes));
            index.AppendItem(name.substr(0, name.rfind('.')), name);
        }
        SaveIndexFile(fs, index, exeDir + "index.fic");
    }
    std::unique_ptr<TChoix> Open() {
        clips.Load();
        auto choix = std::make_unique<TChoix>(clips, exeDir);
        ::ShowWindow(choix->hwnd(), SW_SHOW);
        choix->FormShow();
        Pump();
        return choix;
    }
    static void Select(TChoix& choix, int line) {
        ::SendMessageW(choix.Control("ListBox1"), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        choix.ListBox1Click();
        ::UpdateWindow(choix.hwnd());
        ::RedrawWindow(choix.Control("Image1"), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
    }
    static COLORREF MiddleOfImage(TChoix& choix) {
        HWND image = choix.Control("Image1");
        RECT box{};
        ::GetClientRect(image, &box);
        HDC dc = ::GetDC(image);
        const COLORREF colour = ::GetPixel(dc, box.right / 2, box.bottom / 2);
        ::ReleaseDC(image, dc);
        return colour;
    }

    // The program's folder of the test, with its trailing backslash.
    static std::string TestFolder() {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        return std::string(temp) + "chooser_test_" + std::to_string(::GetCurrentProcessId()) + "\\";
    }

    DiskFileSystem fs;
    std::string exeDir = TestFolder();
    std::string store = exeDir + "Clipboard\\";
    ClipStore clips{fs, exeDir + "Clipboard", exeDir + "index.fic"};
};

TEST_F(ChooserDialogTest, EveryItemKindShowsInItsPreview) {
    const std::string records = MetafileRecords();
    Prepare({{"Texte_001.txt", "{\\rtf1\\ansi hello world\\par}"},
             {"Image_001.bmp", BitmapFile()},
             {"Clipart_001.wmf", records},
             {"Clipart_002.wmf", PlaceableMetafileHeader(2646, 2646) + records},
             {"SuperClipart_001.emf", EnhMetafile()},
             {"Texte_002.TXT", "plain, not rich"}});
    auto choix = Open();
    EXPECT_EQ(choix->ListCount(), 6);
    EXPECT_EQ(choix->ItemIndex(), 5) << "nothing remembered: the newest item";
    EXPECT_EQ(TextOf(choix->RichEdit1()), L"plain, not rich");

    RECT image{}, text{};
    ::GetWindowRect(choix->Control("Image1"), &image);
    ::GetWindowRect(choix->RichEdit1(), &text);
    EXPECT_TRUE(::EqualRect(&image, &text)) << "both previews share one place";

    Select(*choix, 0);
    EXPECT_TRUE(::IsWindowVisible(choix->RichEdit1()));
    EXPECT_FALSE(::IsWindowVisible(choix->Control("Image1")));
    EXPECT_EQ(TextOf(choix->RichEdit1()).substr(0, 11), L"hello world");
    EXPECT_EQ(TextOf(choix->Control("Edit1")), L"Texte_001");
    EXPECT_TRUE(::IsWindowEnabled(choix->Control("Button2")));

    for (int line = 1; line <= 4; ++line) {
        Select(*choix, line);
        EXPECT_TRUE(::IsWindowVisible(choix->Control("Image1"))) << choix->Line(line);
        EXPECT_FALSE(::IsWindowVisible(choix->RichEdit1()));
        EXPECT_EQ(MiddleOfImage(*choix), kRed) << choix->Line(line);
    }
    EXPECT_FALSE(choix->MissingFile());
}

TEST_F(ChooserDialogTest, DamagedPictureEmptiesThePreviewAndKeepsTheItem) {
    Prepare({{"Image_001.bmp", BitmapFile()}, {"Image_002.bmp", "BM not really"}});
    auto choix = Open();
    Select(*choix, 0);
    EXPECT_EQ(MiddleOfImage(*choix), kRed);
    Select(*choix, 1);
    EXPECT_NE(MiddleOfImage(*choix), kRed);
    EXPECT_EQ(choix->ListCount(), 2);
    EXPECT_TRUE(::IsWindowEnabled(choix->Control("Button2")));
}

// Letters typed into the list move to the next item whose name starts with them, and the preview
// follows, as in any list box.
TEST_F(ChooserDialogTest, TypingInTheListJumpsToTheItemNamed) {
    Prepare({{"Texte_001.txt", "{\\rtf1\\ansi one\\par}"},
             {"Recette.txt", "{\\rtf1\\ansi tarte\\par}"},
             {"Texte_002.txt", "{\\rtf1\\ansi two\\par}"}});
    auto choix = Open();
    Select(*choix, 0);
    HWND list = choix->Control("ListBox1");
    ::SendMessageW(list, WM_CHAR, L'r', 0);
    EXPECT_EQ(choix->ItemIndex(), 1);
    EXPECT_EQ(TextOf(choix->RichEdit1()).substr(0, 5), L"tarte");
    ::Sleep(1100);  // a pause starts a new prefix
    ::SendMessageW(list, WM_CHAR, L'T', 0);
    EXPECT_EQ(choix->ItemIndex(), 2) << "the next match after the selection, case ignored";
}

TEST_F(ChooserDialogTest, DeleteKeyRenameAndEditsReachTheFiles) {
    Prepare({{"Texte_001.txt", "{\\rtf1\\ansi first\\par}"},
             {"Texte_002.txt", "{\\rtf1\\ansi second\\par}"},
             {"Texte_003.txt", "{\\rtf1\\ansi third\\par}"}});
    auto choix = Open();

    Select(*choix, 1);
    ::SendMessageW(choix->Control("ListBox1"), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_FALSE(fs.FileExists(store + "Texte_002.txt"));
    ASSERT_EQ(choix->ListCount(), 2);
    EXPECT_EQ(choix->ItemIndex(), 1) << "the next item takes the deleted one's place";
    EXPECT_EQ(clips.FileName(1), "Texte_003.txt");

    ::SetWindowTextW(choix->Control("Edit1"), L"Renamed");
    EXPECT_EQ(choix->Line(1), "Renamed");
    EXPECT_EQ(clips.DisplayName(1), "Renamed");
    EXPECT_EQ(clips.FileName(1), "Texte_003.txt") << "the file keeps its name";

    // An edit of the first item, then another row: the edit is on disk before the switch.
    Select(*choix, 0);
    ::SendMessageW(choix->RichEdit1(), EM_SETSEL, 0, -1);
    ::SendMessageW(choix->RichEdit1(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"edited by hand"));
    Select(*choix, 1);
    const auto saved = fs.ReadAll(store + "Texte_001.txt");
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find("edited by hand"), std::string::npos);
    EXPECT_EQ(saved->rfind("{\\rtf", 0), 0u) << "written as rich text";
    EXPECT_EQ(fs.ReadAll(store + "Texte_003.txt"), "{\\rtf1\\ansi third\\par}") << "an unedited item is left alone";

    // Windows ending the session with the dialog open keeps the edit, as closing it would.
    ::SendMessageW(choix->RichEdit1(), EM_SETSEL, 0, -1);
    ::SendMessageW(choix->RichEdit1(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"edited at log-off"));
    ::SendMessageW(choix->hwnd(), WM_ENDSESSION, TRUE, 0);
    const auto kept = fs.ReadAll(store + "Texte_003.txt");
    ASSERT_TRUE(kept);
    EXPECT_NE(kept->find("edited at log-off"), std::string::npos);

    // An edited item deleted with the Delete key stays deleted: its edit has nowhere to go.
    ::SendMessageW(choix->RichEdit1(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"edited, then deleted"));
    ::SendMessageW(choix->Control("ListBox1"), WM_KEYDOWN, VK_DELETE, 0);
    ::SendMessageW(choix->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(fs.FileExists(store + "Texte_003.txt"));
}

// Pasting a picture item puts the picture itself on the clipboard, as other programs read it.
TEST_F(ChooserDialogTest, PastingAPictureItemPutsItsPictureOnTheClipboard) {
    Prepare({{"Texte_001.txt", "{\\rtf1\\ansi one\\par}"}, {"Image_001.bmp", BitmapFile()}});
    clips.Load();
    TChoix choix(clips, exeDir);
    const win::unique_hwnd owner(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    HotKeyCommandsWin32 commands(owner.get(), choix, clips, [](std::string_view id) { return std::string(id); });
    ThenWhileOpen([&] { ::SendMessageW(choix.Control("Button2"), BM_CLICK, 0, 0); });
    commands.Commands().OnHotKey(HotKeyCommands::kPasteHotKey);

    ASSERT_TRUE(::OpenClipboard(nullptr));
    const auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    BITMAP info{};
    COLORREF colour = CLR_INVALID;
    if (bitmap && ::GetObjectW(bitmap, sizeof info, &info)) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        colour = ::GetPixel(dc, 1, 1);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
    }
    ::CloseClipboard();
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 4);
    EXPECT_EQ(colour, kRed);
}

TEST_F(ChooserDialogTest, EnterClosesWithOkUnlessTheSelectedFileWentMissing) {
    Prepare({{"Texte_001.txt", "{\\rtf1\\ansi one\\par}"}, {"Texte_002.txt", "{\\rtf1\\ansi two\\par}"}});
    clips.Load();
    TChoix choix(clips, exeDir);
    HWND list = choix.Control("ListBox1");

    // Escape does nothing; Enter on the list pastes.
    EXPECT_EQ(RunModal(choix,
                       [&] {
                           ::SetFocus(list);
                           ::PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
                           ::PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
                       }),
              ChooserResult::Ok);
    EXPECT_FALSE(::IsWindowVisible(choix.hwnd()));

    // The file of the item clicked vanished while the dialog was open.
    EXPECT_EQ(RunModal(choix,
                       [&] {
                           fs.RemoveFile(store + "Texte_001.txt");
                           {
                               testing::BoxDriver ok(IDOK, L"Information");
                               ::SendMessageW(list, LB_SETCURSEL, 0, 0);
                               choix.ListBox1Click();
                               EXPECT_EQ(ok.Seen().text, L"Texte_001.txt introuvable.");
                           }
                           EXPECT_EQ(choix.ItemIndex(), -1);
                           EXPECT_FALSE(::IsWindowEnabled(choix.Control("Button2")));
                           ::SetFocus(list);
                           ::PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
                           ::PostMessageW(choix.hwnd(), WM_CLOSE, 0, 0);
                       }),
              ChooserResult::Cancel);
    EXPECT_TRUE(choix.MissingFile());
    EXPECT_EQ(choix.ListCount(), 1);

    // Deleting the last item says so and cancels.
    EXPECT_EQ(RunModal(choix,
                       [&] {
                           testing::BoxDriver ok(IDOK, L"Information");
                           choix.Supprimer1Click();
                           EXPECT_EQ(ok.Seen().text, L"Presse-papiers interne vid\u00e9.");
                       }),
              ChooserResult::Cancel);
    EXPECT_EQ(clips.ItemCount(), 0);
    EXPECT_FALSE(fs.FileExists(exeDir + "index.fic")) << "the emptied store is on disk at once";
}

// Holds a modifier down for the dialog's thread, as the keyboard would.
void HoldKey(int key, bool down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

RECT ClientRectIn(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The search as a user meets it: typed into the field, the arrows move the filtered list's
// selection with the focus kept in the field, Shift+Enter chooses the item selected there
// (without its formatting), Escape empties the field; Ctrl+F comes back to it from the list; a
// screen reader hears each line's name and text; the dialog made larger gives the room to the
// list and the previews.
TEST_F(ChooserDialogTest, TheSearchFieldChoosesFromTheFilteredList) {
    Prepare({{"Texte_001.txt", "{\\rtf1\\ansi une adresse\\par}"},
             {"Texte_002.txt", "{\\rtf1\\ansi les courses\\par}"},
             {"Texte_003.txt", "{\\rtf1\\ansi Montr\\'e9al, adresse\\par}"},
             {"Image_001.bmp", BitmapFile()}});
    clips.Load();
    ItemSearch search(clips, nullptr);
    DiskItemFiles files(exeDir + "Clipboard");
    search.StartBuild(files, fs, exeDir + "test.SCH", [] {});
    search.WaitForBuild();
    search.TakeTexts();
    TChoix choix(clips, exeDir, nullptr, &search);
    HWND field = choix.Control("Edit2");
    HWND list = choix.Control("ListBox1");
    EXPECT_EQ(RunModal(choix,
                       [&] {
                           ::SetFocus(field);
                           ::SetWindowTextW(field, L"ADR");
                           EXPECT_EQ(choix.ListCount(), 2);
                           ::PostMessageW(field, WM_KEYDOWN, VK_UP, 0);
                           ThenWhileOpen([&] {
                               EXPECT_EQ(choix.SelectedRow(), 0);
                               EXPECT_EQ(::GetFocus(), field);
                               EXPECT_EQ(TextOf(choix.RichEdit1()).substr(0, 11), L"une adresse");
                               HoldKey(VK_SHIFT, true);
                               ::PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
                           });
                       }),
              ChooserResult::Ok);
    HoldKey(VK_SHIFT, false);
    EXPECT_EQ(choix.SelectedRow(), 0) << "the paste takes Texte_001, not the second item";
    EXPECT_TRUE(choix.ChosenWithShift());

    EXPECT_EQ(RunModal(choix,
                       [&] {
                           EXPECT_EQ(TextOf(field), L"") << "each showing starts unfiltered";
                           ::SetFocus(field);
                           ::SetWindowTextW(field, L"zzz");
                           EXPECT_EQ(choix.ListCount(), 0);
                           EXPECT_FALSE(::IsWindowEnabled(choix.Control("Button2")));
                           ::PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
                           ThenWhileOpen([&] {
                               EXPECT_EQ(TextOf(field), L"");
                               EXPECT_EQ(choix.ListCount(), 4);
                               ::SetFocus(list);
                               HoldKey(VK_CONTROL, true);
                               ::SendMessageW(list, WM_KEYDOWN, 'F', 0);
                               HoldKey(VK_CONTROL, false);
                               EXPECT_EQ(::GetFocus(), field);
                               ::PostMessageW(choix.hwnd(), WM_CLOSE, 0, 0);
                           });
                       }),
              ChooserResult::Cancel);

    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IAccessible* lines = nullptr;
    if (SUCCEEDED(::AccessibleObjectFromWindow(list, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&lines)))) {
        long count = 0;
        lines->get_accChildCount(&count);
        EXPECT_EQ(count, 4);
        VARIANT child{};
        child.vt = VT_I4;
        for (const auto& [line, spoken] : {std::pair{3, L"Texte_003, Montr\u00e9al, adresse"}, std::pair{4, L"Image_001, 4 \u00d7 4"}}) {
            child.lVal = line;
            BSTR name = nullptr;
            EXPECT_EQ(lines->get_accName(child, &name), S_OK);
            EXPECT_EQ(std::wstring(name ? name : L""), spoken);
            ::SysFreeString(name);
        }
        VARIANT role{};
        lines->get_accRole(child, &role);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_LISTITEM);
        lines->Release();
    } else {
        ADD_FAILURE() << "the list gave no accessible object";
    }
    ::CoUninitialize();

    const RECT list0 = ClientRectIn(list), button0 = ClientRectIn(choix.Control("Button3"));
    ::SetWindowPos(choix.hwnd(), nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(choix.UserSize().cx, 520) << "never smaller than designed";
    EXPECT_EQ(ClientRectIn(list).bottom, list0.bottom);
    const SIZE outer = choix.OuterSize();
    ::SetWindowPos(choix.hwnd(), nullptr, 0, 0, outer.cx + 200, outer.cy + 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(choix.UserSize().cx, 720);
    const RECT list1 = ClientRectIn(list), button1 = ClientRectIn(choix.Control("Button3"));
    EXPECT_EQ(list1.right - list0.right, 100) << "half the width to the list, half to the previews";
    EXPECT_EQ(list1.bottom - list0.bottom, 100);
    EXPECT_EQ(button1.left - button0.left, 200);
    EXPECT_EQ(button1.top - button0.top, 100);
    RECT image{}, text{};
    ::GetWindowRect(choix.Control("Image1"), &image);
    ::GetWindowRect(choix.RichEdit1(), &text);
    EXPECT_TRUE(::EqualRect(&image, &text)) << "both previews share one place";
}

// Escape typed into the text preview or the rename field leaves the chooser open (Paste then
// closes it with OK); the close box cancels.
TEST_F(ChooserDialogTest, EscapeInAnyFieldKeepsTheDialogOpenAndTheCloseBoxCancels) {
    Prepare({{"Texte_001.txt", "{\\rtf1\\ansi one\\par}"}});
    clips.Load();
    TChoix choix(clips, exeDir);
    EXPECT_EQ(RunModal(choix,
                       [&] {
                           for (const char* field : {"Edit1", "RichEdit1"}) {
                               ::SetFocus(choix.Control(field));
                               ::PostMessageW(choix.Control(field), WM_KEYDOWN, VK_ESCAPE, 0);
                           }
                           ThenWhileOpen([&] { ::SendMessageW(choix.Control("Button2"), BM_CLICK, 0, 0); });
                       }),
              ChooserResult::Ok);

    EXPECT_EQ(RunModal(choix, [&] { ::PostMessageW(choix.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }),
              ChooserResult::Cancel);
}

}  // namespace
}  // namespace tessera
