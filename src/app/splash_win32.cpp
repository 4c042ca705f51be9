#include "app/splash_win32.h"

#include <array>

namespace tessera {
namespace {

constexpr SIZE kClientSize{360, 300};
// Single border and a caption, without buttons or system menu.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION;
constexpr int kSleepInterval = 2000;

// Image1 fills the form: the picture, drawn by the form itself.
const std::array<win::ControlRow, 1> kControls{{
    {"Image1", nullptr, 0, 0, 0, 360, 300, 0, 0, -1, ""},
}};

}  // namespace

TLogo::TLogo(bool english) : win::Form({L"TLogo", kClientSize, kStyle, 0, kControls}) {
    ::SetWindowTextW(hwnd(), english ? L"Tessera - by the Tessera team" : L"Tessera - par l'équipe Tessera");
    const SIZE outer = OuterSize();
    ::SetWindowPos(hwnd(), nullptr, (::GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Image1: the picture in the program's resources (none in a test program: the form stays plain).
    image1_.reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), english ? L"SPLASH_EN" : L"SPLASH",
                                                    IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    Sleeper.SetInterval(kSleepInterval);
}

void TLogo::ShowNow() {
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::UpdateWindow(hwnd());
}

// The picture, designed for 96 DPI, is drawn over Image1's place, which grows with the DPI.
void TLogo::Paint() {
    win::paint_scope paint(hwnd());
    if (!image1_) return;
    BITMAP info{};
    ::GetObjectW(image1_.get(), sizeof info, &info);
    const win::unique_hdc memory(::CreateCompatibleDC(paint.dc()));
    if (!memory) return;
    const win::select_object selected(memory.get(), image1_.get());
    const RECT box = Bounds("Image1");
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    // At 100 % a plain copy: smoothing a picture to its own size would cost a buffer as large.
    if (width == info.bmWidth && height == info.bmHeight) {
        ::BitBlt(paint.dc(), box.left, box.top, width, height, memory.get(), 0, 0, SRCCOPY);
        return;
    }
    ::SetStretchBltMode(paint.dc(), HALFTONE);
    ::SetBrushOrgEx(paint.dc(), 0, 0, nullptr);
    ::StretchBlt(paint.dc(), box.left, box.top, width, height, memory.get(), 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
}

LRESULT TLogo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_CLOSE:
        // Alt+F4 must not end the start-up half-way: the splash goes when the forms are made.
        return 0;
    default: break;
    }
    return win::Form::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera
