#pragma once
// Drives the message boxes a test makes the program show: a thread waits for the box, reads
// what it shows and presses one of its buttons.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace tessera::testing {

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    std::wstring yes, no, ok;
    RECT rect{};
    bool found = false;
};

// Starts watching for a top-level dialog of this process (with the caption `caption`, when one is
// given); `press` is the button id to click. With kEnter it presses Enter instead, in every box
// that shows until the driver ends, as a user pressing Enter twice would; Seen() tells the first.
class BoxDriver {
public:
    static constexpr int kEnter = -1;

    explicit BoxDriver(int press, std::wstring caption = {})
        : caption_(std::move(caption)), thread_([this, press] { Watch(press); }) {}
    ~BoxDriver() { Stop(); }
    const SeenBox& Seen() {
        Stop();
        return seen_;
    }

private:
    bool HasCaption(HWND box) const {
        if (caption_.empty()) return true;
        wchar_t text[256] = {};
        ::GetWindowTextW(box, text, 256);
        return caption_ == text;
    }
    static std::wstring ItemText(HWND box, int id) {
        wchar_t buf[256] = {};
        ::GetDlgItemTextW(box, id, buf, 256);
        return buf;
    }
    static std::wstring StaticText(HWND box) {
        // The box's message is its static control with id 0xFFFF.
        return ItemText(box, 0xFFFF);
    }
    void Stop() {
        stopEnter_ = true;  // a click ends the watch by itself
        if (thread_.joinable()) thread_.join();
    }
    void Watch(int press) {
        const DWORD pid = ::GetCurrentProcessId();
        // Generous: the first box of a fresh Wine prefix on a busy machine can take many seconds.
        for (int i = 0; i < 1200 && !(press == kEnter && stopEnter_); ++i) {
            HWND box = nullptr;
            while ((box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(box, &owner);
                if (owner == pid && ::IsWindowVisible(box) && HasCaption(box)) break;
            }
            if (box) {
                ::Sleep(100);  // let the box finish its set-up before reading it
                if (!seen_.found) Record(box);
                if (press == kEnter) {
                    PressEnterUntilGone(box);
                    continue;
                }
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(box, press)));
                return;
            }
            ::Sleep(50);
        }
    }
    void Record(HWND box) {
        wchar_t caption[256] = {};
        ::GetWindowTextW(box, caption, 256);
        seen_.caption = caption;
        seen_.text = StaticText(box);
        seen_.yes = ItemText(box, IDYES);
        seen_.no = ItemText(box, IDNO);
        seen_.ok = ItemText(box, IDOK);
        ::GetWindowRect(box, &seen_.rect);
        seen_.found = true;
    }
    // The box's own loop gives the key to its default button.
    void PressEnterUntilGone(HWND box) {
        ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
        while (::IsWindow(box) && !stopEnter_) ::Sleep(20);
    }

    std::wstring caption_;
    SeenBox seen_;
    std::atomic<bool> stopEnter_{false};
    std::thread thread_;
};

}  // namespace tessera::testing
