#pragma once
// The application object: its title, the message loop, the modal loop and the global error display.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

namespace tessera::win {

// The running executable's full path, in the ANSI code page.
std::string ExecutablePath();

class Application {
public:
    static Application& Instance();

    void SetTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& Title() const noexcept { return title_; }

    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();
    // Runs a nested loop until `done` says so or the program quits. The window `dialog` gets the
    // dialog keys (Tab, arrows) through IsDialogMessage.
    void RunModalLoop(HWND dialog, const std::function<bool()>& done);
    // Dispatches every message waiting in the queue, without blocking.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const noexcept { return terminated_; }

    // The global error display: shows the exception in flight (call from a catch block) in an
    // error box. Never throws.
    void ShowCurrentException() noexcept;

private:
    Application() = default;
    bool DispatchOne(MSG& msg, HWND dialog);

    std::wstring title_;
    // Read by the tray icon's animation thread too.
    std::atomic<bool> terminated_ = false;
};

}  // namespace tessera::win
