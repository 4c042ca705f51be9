#pragma once
// A repeating timer that calls a function on the GUI thread, through the message loop (modal
// loops included), with a hidden message-only window of its own.
#include <windows.h>

#include <functional>

#include "win/window.h"

namespace tessera::win {

class Timer final : private Window {
public:
    explicit Timer(std::function<void()> onTick);

    // Ticks every `ms` milliseconds until Stop; starting a running timer changes nothing.
    void Start(UINT ms);
    void Stop();
    bool Running() const noexcept { return running_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::function<void()> onTick_;
    bool running_ = false;
};

}  // namespace tessera::win
