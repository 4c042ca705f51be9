#include "win/window.h"

#include "win/application.h"
#include "win/dpi.h"
#include "win/last_error.h"

namespace tessera::win {

Window::~Window() {
    if (hwnd_) {
        // Detach first: the messages that DestroyWindow sends must not reach a half-destroyed
        // object, whose subclass part is already gone.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND h = hwnd_;
        hwnd_ = nullptr;
        ::DestroyWindow(h);
    }
}

void Window::CreateWindowObject(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x,
                                int y, int width, int height, HWND parent, HICON icon) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExW(instance, className, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Window::WindowProcedure;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        if (!::RegisterClassExW(&wc)) ThrowLastError("RegisterClassExW");
    }
    if (!::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr, instance, this))
        ThrowLastError("CreateWindowExW");
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (!(reinterpret_cast<CREATESTRUCTW*>(lParam)->style & WS_CHILD)) EnableNonClientScaling(hwnd);
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing unwinds through Windows code: the error is shown and the loop goes on.
        Application::Instance().ShowCurrentException();
        result = 0;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        try {
            self->OnWindowGone();
        } catch (...) {
            Application::Instance().ShowCurrentException();
        }
    }
    return result;
}

}  // namespace tessera::win
