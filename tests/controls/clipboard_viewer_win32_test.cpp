// The viewer panel against the real clipboard and the real viewer chain.
#include "controls/clipboard_viewer_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../support/viewer_chain_win32.h"
#include "../win/box_driver.h"
#include "../win/pump.h"
#include "controls/clipboard_formats_win32.h"
#include "controls/palette_grid_win32.h"
#include "win/clipboard.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera {
namespace {

constexpr RECT kPanel{248, 24, 576, 313};

using testing::PumpUntil;

// The top-level window that holds the panel, as the main window does, shown: the panel builds
// its views only while it can be seen.
class Host : public win::Window {
public:
    Host() {
        CreateWindowObject(L"TesseraViewerTestHost", 0, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 600, 360, nullptr);
        ::ShowWindow(hwnd(), SW_SHOWNA);
    }
    void Destroy() { ::DestroyWindow(hwnd()); }
};

// Another program's viewer, as the documentation asks viewers to behave.
class ChainMember : public win::Window {
public:
    ChainMember() { CreateWindowObject(L"TesseraChainMember", 0, L"member", WS_POPUP, 0, 0, 1, 1, nullptr); }
    ~ChainMember() override { Leave(); }

    void Join() {
        next = ::SetClipboardViewer(hwnd());
        joined = true;
    }
    void Leave() {
        if (joined) ::ChangeClipboardChain(hwnd(), next);
        joined = false;
    }

    HWND next = nullptr;
    bool joined = false;
    int draws = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DRAWCLIPBOARD) {
            ++draws;
            if (next) ::SendMessageW(next, message, wParam, lParam);
            return 0;
        }
        if (message == WM_CHANGECBCHAIN) {
            testing::FollowChainChange(next, wParam, lParam,
                                       [&](HWND to) { ::SendMessageW(to, message, wParam, lParam); });
            return 0;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// Another program's viewer that joins the chain from a thread of its own and then stops reading
// its messages, as a hung program does, until the test ends and lets it leave.
class HungViewer {
public:
    HungViewer() : thread_([this] { Run(); }) { ::WaitForSingleObject(joined_.get(), INFINITE); }
    ~HungViewer() {
        ::SetEvent(resume_.get());
        // Leaving may tell the viewer, on this thread, that the chain changed.
        PumpUntil([this] { return done_.load(); }, 10000);
        thread_.join();
    }
    HWND hwnd() const { return window_; }

private:
    void Run() {
        {
            ChainMember member;
            member.Join();
            window_ = member.hwnd();
            ::SetEvent(joined_.get());
            // Bounded only so that a viewer that waits for this one fails the test instead of
            // hanging the run: far longer than any wait the test allows.
            ::WaitForSingleObject(resume_.get(), 30000);
            member.Leave();
        }
        done_ = true;
    }

    win::unique_handle joined_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    win::unique_handle resume_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window_ = nullptr;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

HGLOBAL Block(const void* data, std::size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* p = ::GlobalLock(block);
    std::memcpy(p, data, size);
    ::GlobalUnlock(block);
    return block;
}

// Replaces the clipboard's content with what `fill` puts there.
void PutOnClipboard(HWND owner, const std::function<void()>& fill) {
    win::ClipboardScope open(owner);
    ::EmptyClipboard();
    fill();
}

void PutBlock(HWND owner, UINT format, const void* data, std::size_t size) {
    PutOnClipboard(owner, [&] { ::SetClipboardData(format, Block(data, size)); });
}

void PutText(HWND owner, const std::string& text) { PutBlock(owner, CF_TEXT, text.c_str(), text.size() + 1); }

HBITMAP MakeBitmap(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

void PutBitmap(HWND owner, int width, int height) {
    PutOnClipboard(owner, [&] { ::SetClipboardData(CF_BITMAP, MakeBitmap(width, height)); });
}

void PutPrivate(HWND owner) { PutBlock(owner, ::RegisterClipboardFormatA("Tessera Test Private"), "x", 1); }

// An icon file image of one 16 × 16 image in 32 bits per pixel.
std::vector<std::uint8_t> IconFileImage() {
    constexpr int kSide = 16;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = kSide;
    header.biHeight = kSide * 2;  // the colour image and the mask
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::vector<std::uint8_t> image(sizeof header);
    std::memcpy(image.data(), &header, sizeof header);
    for (int i = 0; i < kSide * kSide; ++i) image.insert(image.end(), {0x20, 0x40, 0xC0, 0xFF});
    image.resize(image.size() + kSide * 4, 0);  // mask rows of 32 bits
    const auto size = static_cast<std::uint32_t>(image.size());
    std::vector<std::uint8_t> file{0, 0, 1, 0, 1, 0, kSide, kSide, 0, 0, 1, 0, 32, 0};
    for (std::uint32_t v : {size, 22u})
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

std::string TextOf(HWND hwnd) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

bool IsEditControl(HWND hwnd) { return hwnd && ::lstrcmpiW(ClassOf(hwnd).c_str(), L"Edit") == 0; }

// The child's rectangle in the viewer's client coordinates.
RECT ChildRect(const TClipboardViewer& viewer) {
    RECT r{};
    ::GetWindowRect(viewer.ChildWindow(), &r);
    ::MapWindowPoints(nullptr, viewer.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT ClientOf(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return r;
}

class ViewerOnHost : public ::testing::Test {
protected:
    void SetUp() override {
        // What an earlier test left on the clipboard must not show first.
        win::EmptySystemClipboard(host.hwnd());
        viewer = std::make_unique<TClipboardViewer>(host.hwnd(), kPanel);
        viewer->OnChange = [this] { ++changes; };
    }

    // Puts content on the clipboard and waits until the viewer has seen it.
    void Change(const std::function<void()>& put) {
        const int before = changes;
        put();
        ASSERT_TRUE(PumpUntil([&] { return changes > before; })) << "no change notification";
    }

    Host host;
    std::unique_ptr<TClipboardViewer> viewer;
    int changes = 0;
};

TEST_F(ViewerOnHost, ShowsTextTheUnknownNoticePicturesAndNothingForAnEmptyClipboard) {
    HWND owner = host.hwnd();
    Change([&] { PutText(owner, "Bonjour\r\nTessera"); });
    HWND child = viewer->ChildWindow();
    ASSERT_TRUE(IsEditControl(child));
    EXPECT_EQ(TextOf(child), "Bonjour\r\nTessera");
    EXPECT_TRUE(::GetWindowLongW(child, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(SameRect(ChildRect(*viewer), ClientOf(viewer->hwnd())));

    Change([&] { PutPrivate(owner); });
    ASSERT_TRUE(IsEditControl(viewer->ChildWindow()));
    EXPECT_EQ(TextOf(viewer->ChildWindow()), "Cannot display. Data in Clipboard is in an unknown format.");

    // A small bitmap sits in the middle of the panel at its own size.
    Change([&] { PutBitmap(owner, 37, 23); });
    ASSERT_NE(viewer->ChildWindow(), nullptr);
    EXPECT_EQ(ClassOf(viewer->ChildWindow()), L"TesseraPictureBox");
    RECT r = ChildRect(*viewer);
    const RECT client = ClientOf(viewer->hwnd());
    EXPECT_EQ(r.right - r.left, 37);
    EXPECT_EQ(r.bottom - r.top, 23);
    EXPECT_EQ(r.left, (client.right - 37) / 2);
    EXPECT_EQ(r.top, (client.bottom - 23) / 2);

    Change([&] { win::EmptySystemClipboard(owner); });
    EXPECT_EQ(viewer->ChildWindow(), nullptr);
    EXPECT_EQ(viewer->ViewFormat(), cvEmpty);
    Change([&] { PutText(owner, "again"); });
    EXPECT_EQ(viewer->ViewFormat(), cvDefault);
    EXPECT_EQ(TextOf(viewer->ChildWindow()), "again");
}

// Hidden with its window, the panel copies nothing of what other programs put on the clipboard,
// yet every change is still raised; shown again, it shows the latest content.
TEST_F(ViewerOnHost, BuildsNoViewWhileHiddenAndTheLatestOneWhenShownAgain) {
    HWND owner = host.hwnd();
    Change([&] { PutText(owner, "seen"); });
    ASSERT_TRUE(IsEditControl(viewer->ChildWindow()));
    ::ShowWindow(owner, SW_HIDE);
    const int before = changes;
    Change([&] { PutBitmap(owner, 37, 23); });
    EXPECT_EQ(viewer->ChildWindow(), nullptr) << "the old view goes and no new one is built";
    Change([&] { PutText(owner, "latest"); });
    EXPECT_EQ(viewer->ChildWindow(), nullptr);
    EXPECT_EQ(changes, before + 2);

    ::ShowWindow(owner, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return viewer->ChildWindow() != nullptr; }));
    ASSERT_TRUE(IsEditControl(viewer->ChildWindow()));
    EXPECT_EQ(TextOf(viewer->ChildWindow()), "latest");
    EXPECT_TRUE(SameRect(ChildRect(*viewer), ClientOf(viewer->hwnd())));
}

TEST_F(ViewerOnHost, ALargePictureStartsAtTheOriginWithScrollBarsAndIsCentredWhenThePanelGrows) {
    // Wider than the panel, and then too high beside the horizontal scroll bar.
    Change([&] { PutBitmap(host.hwnd(), 400, 280); });
    RECT r = ChildRect(*viewer);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    const LONG style = ::GetWindowLongW(viewer->hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);

    // Scrolling moves the picture, not past its end.
    ::SendMessageW(viewer->hwnd(), WM_HSCROLL, SB_BOTTOM, 0);
    r = ChildRect(*viewer);
    EXPECT_EQ(r.right, ClientOf(viewer->hwnd()).right);

    viewer->SetBounds({0, 0, 590, 350});
    EXPECT_FALSE(::GetWindowLongW(viewer->hwnd(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    const RECT client = ClientOf(viewer->hwnd());
    r = ChildRect(*viewer);
    EXPECT_EQ(r.left, (client.right - 400) / 2);
    EXPECT_EQ(r.top, (client.bottom - 280) / 2);
}

TEST_F(ViewerOnHost, ShowsTheProgramsIconAndComponentFormatsAndMetafiles) {
    const RegisteredFormats& formats = ViewerClipboardFormats();
    const std::vector<std::uint8_t> icon = IconFileImage();
    Change([&] { PutBlock(host.hwnd(), formats.icon, icon.data(), icon.size()); });
    ASSERT_NE(viewer->ChildWindow(), nullptr);
    EXPECT_EQ(ClassOf(viewer->ChildWindow()), L"TesseraPictureBox");
    RECT r = ChildRect(*viewer);
    EXPECT_EQ(r.right - r.left, 16);
    EXPECT_EQ(r.bottom - r.top, 16);

    const std::string component = "object Button1: TButton\r\n  Caption = 'OK'\r\nend\r\n";
    Change([&] { PutBlock(host.hwnd(), formats.component, component.c_str(), component.size() + 1); });
    ASSERT_TRUE(IsEditControl(viewer->ChildWindow()));
    EXPECT_EQ(TextOf(viewer->ChildWindow()), "object Button1: TButton\r\n  Caption = 'OK'\r\nend");

    // The system offers the enhanced metafile as a metafile picture too: the picture view shows it.
    Change([&] {
        PutOnClipboard(host.hwnd(), [&] {
            HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
            ::Rectangle(dc, 0, 0, 40, 30);
            ::SetClipboardData(CF_ENHMETAFILE, ::CloseEnhMetaFile(dc));
        });
    });
    EXPECT_EQ(viewer->ViewFormat(), cvDefault);
    ASSERT_NE(viewer->ChildWindow(), nullptr);
    EXPECT_EQ(ClassOf(viewer->ChildWindow()), L"TesseraPictureBox");
    r = ChildRect(*viewer);
    EXPECT_GT(r.right - r.left, 0);
}

TEST_F(ViewerOnHost, AnIconAheadOfABitmapIsReportedAndLeavesAnEmptyPicture) {
    const RegisteredFormats& formats = ViewerClipboardFormats();
    const std::vector<std::uint8_t> icon = IconFileImage();
    testing::BoxDriver box(IDOK);
    Change([&] {
        PutOnClipboard(host.hwnd(), [&] {
            ::SetClipboardData(formats.icon, Block(icon.data(), icon.size()));
            ::SetClipboardData(CF_BITMAP, MakeBitmap(8, 8));
        });
    });
    const auto& seen = box.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, L"Le Presse-papiers ne supporte pas les ic\u00f4nes");
    ASSERT_NE(viewer->ChildWindow(), nullptr);
    const RECT r = ChildRect(*viewer);
    EXPECT_EQ(r.right - r.left, 0);
}

TEST_F(ViewerOnHost, PaletteShowsAsAGridOfItsFirst256Entries) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 300 * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 300;
    for (int i = 0; i < 300; ++i)
        logical->palPalEntry[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i % 256), 7, 0};
    win::unique_hpalette palette(::CreatePalette(logical));
    ASSERT_TRUE(palette);

    // Ten cells beside the scroll bar.
    TPaletteGrid grid(host.hwnd(), {0, 0, 200 + ::GetSystemMetrics(SM_CXVSCROLL), 100});
    grid.ShowPalette(palette.get());
    EXPECT_EQ(grid.Model().entryCount(), 256);
    EXPECT_EQ(grid.Model().columns(), 10);
    EXPECT_EQ(grid.Model().ColorAt(1, 0), RGB(1, 254, 7));
    ASSERT_NE(grid.Palette(), nullptr);
    EXPECT_NE(grid.Palette(), palette.get());  // a copy, with every entry
    PALETTEENTRY last{};
    EXPECT_EQ(::GetPaletteEntries(grid.Palette(), 299, 1, &last), 1u);
    EXPECT_EQ(last.peRed, 299 % 256);

    Change([&] {
        PutOnClipboard(host.hwnd(), [&] { ::SetClipboardData(CF_PALETTE, DuplicatePalette(palette.get()).release()); });
    });
    ASSERT_NE(viewer->ChildWindow(), nullptr);
    EXPECT_EQ(ClassOf(viewer->ChildWindow()), L"TPaletteGrid");
    EXPECT_TRUE(SameRect(ChildRect(*viewer), ClientOf(viewer->hwnd())));
}

TEST(ViewerChain, PassesChangesOnRepairsItselfAndLeavesWhenDestroyed) {
    Host host;
    HWND owner = host.hwnd();
    // Joined in this order, the chain runs B → viewer → A → C → D.
    ChainMember d, c, a, b;
    d.Join();
    c.Join();
    a.Join();
    // Joining brings a notification of its own: the viewer shows what is there already, and
    // does not pass that notification on.
    PutText(owner, "zero");
    ASSERT_TRUE(PumpUntil([&] { return d.draws == 2; }));
    auto viewer = std::make_unique<TClipboardViewer>(host.hwnd(), kPanel);
    int changes = 0;
    viewer->OnChange = [&] { ++changes; };
    ASSERT_TRUE(PumpUntil([&] { return viewer->ChildWindow() != nullptr; }));
    EXPECT_EQ(TextOf(viewer->ChildWindow()), "zero");
    EXPECT_EQ(a.draws, 2);
    b.Join();
    EXPECT_TRUE(viewer->chained());
    EXPECT_EQ(viewer->nextViewer(), a.hwnd());
    EXPECT_EQ(b.next, viewer->hwnd());
    for (ChainMember* m : {&a, &b, &c, &d}) m->draws = 0;  // each saw its own joining

    PutText(owner, "one");
    ASSERT_TRUE(PumpUntil([&] { return d.draws == 1; }));
    EXPECT_EQ(b.draws, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.draws, 1);

    // A leaves right after the viewer: the viewer now passes to C.
    a.Leave();
    ASSERT_TRUE(PumpUntil([&] { return viewer->nextViewer() == c.hwnd(); }));
    // D leaves further down: the viewer passes the news on, and C adopts D's follower.
    d.Leave();
    ASSERT_TRUE(PumpUntil([&] { return c.next == nullptr; }));
    EXPECT_EQ(viewer->nextViewer(), c.hwnd());

    PutText(owner, "two");
    ASSERT_TRUE(PumpUntil([&] { return c.draws == 2; }));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(a.draws, 1);
    EXPECT_EQ(d.draws, 1);

    // Emptying the clipboard is a change too.
    win::EmptySystemClipboard(owner);
    ASSERT_TRUE(PumpUntil([&] { return c.draws == 3; }));
    EXPECT_EQ(changes, 3);

    // Destroyed, the viewer hands its place to C.
    viewer.reset();
    ASSERT_TRUE(PumpUntil([&] { return b.next == c.hwnd(); }));
    PutText(owner, "three");
    ASSERT_TRUE(PumpUntil([&] { return c.draws == 4; }));
    EXPECT_EQ(b.draws, 4);
    EXPECT_EQ(changes, 3);
}

// Two other viewers join before, between or after the viewer in every order, then leave in
// either order: every change reaches every viewer still in the chain exactly once.
TEST(ViewerChain, EveryChangeReachesEveryViewerWhateverTheOrderOfJoiningAndLeaving) {
    Host owner;
    for (const char* joins : {"XYV", "XVY", "VXY", "YXV", "YVX", "VYX"}) {
        for (const char* leaves : {"XY", "YX"}) {
            SCOPED_TRACE(std::string("joined ") + joins + ", leaving " + leaves);
            ChainMember x, y;
            std::unique_ptr<TClipboardViewer> viewer;
            int changes = 0;
            for (const char* who = joins; *who; ++who) {
                if (*who == 'V') {
                    viewer = std::make_unique<TClipboardViewer>(owner.hwnd(), kPanel);
                    viewer->OnChange = [&] { ++changes; };
                } else {
                    (*who == 'X' ? x : y).Join();
                }
            }
            const auto changeReachesAll = [&] {
                x.draws = y.draws = 0;
                changes = 0;
                PutText(owner.hwnd(), joins);
                const auto reached = [&] {
                    return changes == 1 && x.draws == (x.joined ? 1 : 0) && y.draws == (y.joined ? 1 : 0);
                };
                PumpUntil(reached, 2000);
                PumpUntil([] { return false; }, 50);  // a second delivery would show now
                return reached();
            };
            EXPECT_TRUE(changeReachesAll());
            (leaves[0] == 'X' ? x : y).Leave();
            EXPECT_TRUE(changeReachesAll());
            (leaves[1] == 'X' ? x : y).Leave();
            EXPECT_TRUE(changeReachesAll());
            EXPECT_TRUE(viewer->chained());
        }
    }
}

TEST(ViewerChain, AHungNextViewerDoesNotStallChanges) {
    Host host;
    HungViewer hung;
    TClipboardViewer viewer(host.hwnd(), kPanel);
    ASSERT_EQ(viewer.nextViewer(), hung.hwnd());
    int changes = 0;
    viewer.OnChange = [&] { ++changes; };

    const DWORD start = ::GetTickCount();
    PutText(host.hwnd(), "while the next viewer hangs");
    ASSERT_TRUE(PumpUntil([&] { return changes == 1; }));
    EXPECT_LT(::GetTickCount() - start, 5000u) << "the viewer waited for the hung one";
}

TEST(ViewerChain, LeavesTheChainWhenItsParentIsDestroyed) {
    ChainMember next;
    next.Join();
    auto host = std::make_unique<Host>();
    TClipboardViewer viewer(host->hwnd(), kPanel);
    int changes = 0;
    viewer.OnChange = [&] { ++changes; };
    EXPECT_EQ(viewer.nextViewer(), next.hwnd());

    host->Destroy();
    EXPECT_FALSE(viewer.chained());
    EXPECT_EQ(viewer.hwnd(), nullptr);

    Host owner;
    PutText(owner.hwnd(), "after");
    ASSERT_TRUE(PumpUntil([&] { return next.draws == 2; }));  // one from joining, one now
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tessera
