#include "app/splash_win32.h"

namespace tessera {
namespace {

// Single border and a caption, without buttons or system menu.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION;
constexpr int kSleepInterval = 2000;

}  // namespace

TLogo::TLogo(bool english) {
    RECT r{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowObject(L"TLogo", 0, english ? L"Tessera - by the Tessera team" : L"Tessera - par l'équipe Tessera",
                       kStyle, x, y, width, height, nullptr);
    // Image1: the picture in the program's resources (none in a test program: the form stays plain).
    image1_.reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), english ? L"SPLASH_EN" : L"SPLASH",
                                                    IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    Sleeper.SetInterval(kSleepInterval);
}

void TLogo::ShowNow() {
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::UpdateWindow(hwnd());
}

// The picture is drawn centred at the top, at its own size.
void TLogo::Paint() {
    win::paint_scope paint(hwnd());
    if (!image1_) return;
    BITMAP info{};
    ::GetObjectW(image1_.get(), sizeof info, &info);
    const win::unique_hdc memory(::CreateCompatibleDC(paint.dc()));
    if (!memory) return;
    const win::select_object selected(memory.get(), image1_.get());
    ::BitBlt(paint.dc(), (kClientWidth - info.bmWidth) / 2, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0,
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
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera
