// The Win32 toolkit against the real API: message boxes, the global error display, a form made
// from its table, the clipboard's patience, plain text into the rich-edit control, drawing
// pictures and the text conversions.
#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include "box_driver.h"
#include "win/application.h"
#include "win/clipboard.h"
#include "win/form.h"
#include "win/message_boxes.h"
#include "win/picture.h"
#include "win/rich_edit.h"
#include "win/text.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera::win {
namespace {

using testing::BoxDriver;

bool CentredOnScreen(const RECT& r) {
    const int cx = (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int cy = (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    return std::abs(r.left - cx) <= 1 && std::abs(r.top - cy) <= 1;
}

TEST(MessageBoxes, SpeakFrenchAreCentredAndProceedOnlyOnYes) {
    {
        BoxDriver driver(IDYES);
        EXPECT_TRUE(AskConfirmation(L"Vider ?"));
        const auto& seen = driver.Seen();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, L"Confirmation");
        EXPECT_EQ(seen.text, L"Vider ?");
        EXPECT_EQ(seen.yes, L"&Oui");
        EXPECT_EQ(seen.no, L"&Non");
        EXPECT_TRUE(CentredOnScreen(seen.rect));
    }
    {
        BoxDriver driver(IDNO);
        EXPECT_FALSE(AskConfirmation(L"Vider ?"));
    }
    {
        BoxDriver driver(IDOK);
        ShowInformation(Utf8ToWide("Presse-papiers interne vidé."));
        const auto& seen = driver.Seen();
        EXPECT_EQ(seen.caption, L"Information");
        EXPECT_EQ(seen.text, L"Presse-papiers interne vid\u00e9.");
        EXPECT_EQ(seen.ok, L"OK");
        EXPECT_TRUE(CentredOnScreen(seen.rect));
    }
}

// Enter presses the default button: "&Non" where a wrong "&Oui" would destroy data.
TEST(MessageBoxes, EnterGivesTheDefaultAnswer) {
    {
        BoxDriver enter(BoxDriver::kEnter);
        EXPECT_TRUE(AskConfirmation(L"Vider ?"));
    }
    {
        BoxDriver enter(BoxDriver::kEnter);
        EXPECT_FALSE(AskConfirmation(L"Vider ?", DefaultAnswer::No));
    }
}

// A window whose handler fails on WM_USER and counts the messages it handled.
class FailingWindow : public Window {
public:
    FailingWindow() { CreateWindowObject(L"TesseraFailingWindow", 0, L"failing", WS_POPUP, 0, 0, 10, 10, nullptr); }
    int handled = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER) throw std::runtime_error("Impossible de créer le fichier C:\\x");
        if (message == WM_USER + 1) return ++handled;
        return Window::HandleMessage(message, wParam, lParam);
    }
};

TEST(ErrorDisplay, AnExceptionInAHandlerIsShownAndTheWindowGoesOn) {
    FailingWindow window;
    BoxDriver driver(IDOK);
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_USER, 0, 0), 0);
    const auto& seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, L"Impossible de cr\u00e9er le fichier C:\\x");
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_USER + 1, 0, 0), 1);
}

// Two controls, a label, a part the form paints and two windows the form makes itself, whose
// places and tab order come from their rows although they are made after the controls.
const ControlRow kFormRows[] = {
    {"Second", L"BUTTON", 11, 8, 40, 80, 23, WS_VISIBLE | WS_TABSTOP, 0, 3, "second"},
    {"Label", L"STATIC", 12, 100, 8, 80, 13, WS_VISIBLE, 0, -1, "label"},
    {"First", L"EDIT", 10, 8, 8, 80, 21, WS_VISIBLE | WS_TABSTOP, 0, 1, ""},
    {"Made", nullptr, 0, 100, 40, 50, 30, 0, 0, 2, ""},
    {"Panel", nullptr, 0, 0, 80, 200, 20, 0, 0, -1, ""},
    {"Top", nullptr, 0, 8, 70, 20, 5, 0, 0, 0, ""},
};

class TableForm : public Form {
public:
    TableForm() : Form({L"TesseraTableForm", {200, 100}, WS_POPUP | WS_CAPTION, WS_EX_CONTROLPARENT, kFormRows}) {
        for (auto* made : {&made_, &top_})
            made->reset(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, hwnd(), nullptr,
                                          nullptr, nullptr));
        Attach("Made", made_.get());
        Attach("Top", top_.get());
    }
    using Form::Bounds;

private:
    unique_hwnd made_, top_;
};

RECT ClientRectOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(Form, MakesItsTableAndPutsItsOwnWindowsInTheirPlaceAndTabOrder) {
    TableForm form;
    RECT client{}, outer{};
    ::GetClientRect(form.hwnd(), &client);
    ::GetWindowRect(form.hwnd(), &outer);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    EXPECT_EQ(outer.right - outer.left, form.OuterSize().cx);
    EXPECT_EQ(outer.bottom - outer.top, form.OuterSize().cy);

    EXPECT_EQ(form.Control("first"), form.Control("First")) << "names ignore letter case";
    EXPECT_EQ(form.Control("Panel"), nullptr) << "a painted part has no window";
    const RECT panel = form.Bounds("Panel");
    EXPECT_EQ(panel.top, 80);
    EXPECT_EQ(panel.right, 200);
    const RECT made = ClientRectOf(form.Control("Made"));
    EXPECT_EQ(made.left, 100);
    EXPECT_EQ(made.bottom, 70);

    // The dialog keys go through the children in z-order.
    std::vector<HWND> order;
    for (HWND h = ::GetWindow(form.hwnd(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
    EXPECT_EQ(order, (std::vector<HWND>{form.Control("Top"), form.Control("First"), form.Control("Made"),
                                        form.Control("Second"), form.Control("Label")}));
}

// Dragged to a monitor at 150 %, a form scales its table, attached windows included, and its
// fonts, and takes the place Windows suggests with the client area its table needs there.
TEST(Form, TakesANewDpiAtThePlaceWindowsSuggests) {
    TableForm form;
    RECT suggested{40, 30, 40 + 310, 30 + 170};  // a frame too thin for the 300 x 150 client
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT outer{}, client{};
    ::GetWindowRect(form.hwnd(), &outer);
    ::GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 30);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 150);

    EXPECT_EQ(form.Bounds("Panel").top, 120);
    const RECT second = ClientRectOf(form.Control("Second"));
    EXPECT_EQ(second.left, 12);
    EXPECT_EQ(second.top, 60);
    EXPECT_EQ(second.right, 132);
    const RECT made = ClientRectOf(form.Control("Made"));
    EXPECT_EQ(made.left, 150);
    EXPECT_EQ(made.bottom, 105);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(form.Control("Label"), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -16) << "8 points at 144 DPI";
}

TEST(Clipboard, WaitsBrieflyForAnotherHolderThenGivesUp) {
    auto holdFor = [](DWORD ms, std::atomic<bool>& opened) {
        // The holder opens the clipboard for a window of its own thread, as another program would.
        return std::thread([ms, &opened] {
            HWND owner =
                ::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            if (::OpenClipboard(owner)) {
                opened = true;
                ::Sleep(ms);
                ::CloseClipboard();
            }
            ::DestroyWindow(owner);
        });
    };
    {
        std::atomic<bool> opened{false};
        std::thread holder = holdFor(40, opened);
        while (!opened) ::Sleep(1);
        EXPECT_NO_THROW(ClipboardScope open(nullptr));
        holder.join();
    }
    {
        std::atomic<bool> opened{false};
        std::thread holder = holdFor(600, opened);
        while (!opened) ::Sleep(1);
        try {
            ClipboardScope open(nullptr);
            ADD_FAILURE() << "the clipboard opened while another thread held it";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Ne peut ouvrir le Presse-papiers");
        }
        holder.join();
    }
}

// Every CR of this text is at an odd position, so the pieces the control reads in (an even
// number of bytes or characters) would end on one of them again and again. No empty line may
// come of it, and text that reads like RTF stays text when it is plain.
TEST(RichEdit, PlainTextGoesInUnchanged) {
    ASSERT_TRUE(LoadRichEdit());
    const unique_hwnd edit(
        ::CreateWindowExW(0, RICHEDIT_CLASSW, L"", ES_MULTILINE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(edit);
    ::SendMessageW(edit.get(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    std::wstring text = L"a";
    for (int i = 0; i < 6000; ++i) text += L"\r\n";
    text += L"fin";

    ASSERT_TRUE(StreamInPlainText(edit.get(), text));
    EXPECT_TRUE(PlainText(edit.get()) == text);
    ASSERT_TRUE(StreamInRtf(edit.get(), WideToAnsi(text)));
    EXPECT_TRUE(PlainText(edit.get()) == text);

    ASSERT_TRUE(StreamInPlainText(edit.get(), L"{\\rtf1 {\\b gras}}"));
    EXPECT_EQ(PlainText(edit.get()), L"{\\rtf1 {\\b gras}}");
}

// A 2 × 2 red bitmap of 8 bits with its palette, drawn at its size and stretched into a box off
// the origin: it covers its box and nothing else, and the device context has its palette back.
TEST(Picture, DrawsAtItsSizeOrStretchedAndGivesThePaletteBack) {
    const unique_hdc dc(::CreateCompatibleDC(nullptr));
    const unique_hbitmap target([] {
        const window_dc screen(nullptr);
        return ::CreateCompatibleBitmap(screen.get(), 40, 40);
    }());
    ASSERT_TRUE(dc && target);
    const select_object useTarget(dc.get(), target.get());
    const HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_PAL);

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[1];
    } info{{sizeof(BITMAPINFOHEADER), 2, 2, 1, 8, BI_RGB, 0, 0, 0, 1, 0}, {{0, 0, 255, 0}}};
    void* bits = nullptr;
    Picture picture;
    picture.bitmap.reset(
        ::CreateDIBSection(dc.get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(picture.bitmap && bits);
    std::memset(bits, 0, 8);  // two rows of four bytes, every pixel colour 0
    LOGPALETTE red{0x300, 1, {{255, 0, 0, 0}}};
    picture.palette.reset(::CreatePalette(&red));
    ASSERT_EQ(PictureSize(picture).cx, 2);

    DrawPicture(dc.get(), picture, {0, 0, 2, 2});
    EXPECT_EQ(::GetPixel(dc.get(), 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.get(), 2, 2), RGB(0, 0, 0));
    DrawPicture(dc.get(), picture, {10, 10, 40, 40});
    EXPECT_EQ(::GetPixel(dc.get(), 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.get(), 39, 39), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.get(), 9, 9), RGB(0, 0, 0));
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PAL), before);
}

TEST(Text, UserTextIsUtf8WhenItCanBeElseAnsi) {
    EXPECT_EQ(UserTextToWide("vid\xc3\xa9"), L"vid\u00e9");
    // A lone 0xE9 is no UTF-8: it is the ANSI code page's character.
    EXPECT_EQ(UserTextToWide("vid\xe9"), AnsiToWide("vid\xe9"));
    EXPECT_EQ(WideToAnsi(AnsiToWide("Image_001.bmp")), "Image_001.bmp");
}

}  // namespace
}  // namespace tessera::win
