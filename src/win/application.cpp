#include "win/application.h"

#include <exception>
#include <string>

#include "win/message_boxes.h"
#include "win/text.h"

namespace tessera::win {

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

Application& Application::Instance() {
    static Application app;
    return app;
}

bool Application::DispatchOne(MSG& msg, HWND dialog) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        // A nested loop must leave the quit message for the outer loop.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (dialog && ::IsDialogMessageW(dialog, &msg)) return true;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}

int Application::Run() {
    MSG msg{};
    while (!terminated_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        // The active window gets the dialog keys when it holds controls (Tab between them).
        HWND active = ::GetActiveWindow();
        const bool isDialog = active && (::GetWindowLongW(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
        DispatchOne(msg, isDialog ? active : nullptr);
    }
    terminated_ = true;
    return static_cast<int>(msg.wParam);
}

void Application::RunModalLoop(HWND dialog, const std::function<bool()>& done) {
    MSG msg{};
    while (!terminated_ && !done()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            terminated_ = true;
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchOne(msg, dialog);
    }
}

void Application::ProcessMessages() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!DispatchOne(msg, nullptr)) break;
    }
}

void Application::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

void Application::ShowCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            ShowErrorMessage(UserTextToWide(e.what()));
        } catch (...) {
            ShowErrorMessage(L"Erreur inattendue.");
        }
    } catch (...) {
        // Showing the error failed in turn (no memory, say): nothing more can be done here.
    }
}

}  // namespace tessera::win
