#pragma once
// TSleeper: waits for its timer's first tick while the program's messages go on being dispatched.
#include <windows.h>

#include "win/window.h"

namespace tessera {

class TSleeper final : public win::Window {
public:
    // The timer is created disabled, with the component.
    TSleeper();

    // The timer's interval in milliseconds.
    int Interval() const noexcept { return interval_; }
    void SetInterval(int ms) noexcept { interval_ = ms < 0 ? 0 : ms; }

    // Set when the timer fires during Sleep.
    bool Done = false;

    // Returns once the timer has fired (Interval milliseconds), dispatching messages meanwhile.
    void Sleep();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int interval_ = 1000;
};

}  // namespace tessera
