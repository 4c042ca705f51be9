#pragma once
// A window bound to its C++ object: one static window procedure attaches the object at
// WM_NCCREATE and detaches it at WM_NCDESTROY; subclasses handle messages in HandleMessage.
#include <windows.h>

namespace tessera::win {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const noexcept { return hwnd_; }

protected:
    // Registers the window class `className` once per process and creates the window.
    void CreateWindowObject(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y,
                            int width, int height, HWND parent, HICON icon = nullptr);

    // Every message of the window; the default passes it to DefWindowProcW. Exceptions thrown
    // here are shown by the application's error display and the message counts as handled.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called from WM_NCDESTROY, after which hwnd() is null.
    virtual void OnWindowGone() {}

private:
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace tessera::win
