#pragma once
// The viewer's decisions on clipboard messages: its place in the viewer chain, the stored view
// format, and the order of passing on, notifying and rebuilding.
#include <cstdint>
#include <optional>

#include "controls/clipboard_view_format.h"
#include "controls/view_format_rules.h"

namespace tessera {

// A window handle as a plain number; 0 is no window.
using WindowId = std::uintptr_t;

// The clipboard messages the viewer passes along the chain.
inline constexpr unsigned kDrawClipboardMessage = 0x0308;
inline constexpr unsigned kChangeCbChainMessage = 0x030D;

// What the viewer's window does for the core.
class ViewerActions {
public:
    virtual ~ViewerActions() = default;
    // Sends the message, unchanged, to the next viewer of the chain; the answer does not matter.
    virtual void PassToNextViewer(WindowId next, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Raises the viewer's change event.
    virtual void FireChange() = 0;
    // Replaces the child window with one for the current content.
    virtual void RebuildView() = 0;
};

class ClipboardViewerCore {
public:
    ClipboardViewerCore(const ClipboardProbe& probe, const RegisteredFormats& registered, ViewerActions& actions)
        : probe_(probe), registered_(registered), actions_(actions) {}

    WindowId nextViewer() const noexcept { return nextViewer_; }
    bool chained() const noexcept { return chained_; }
    TClipboardViewFormat ViewFormat() const noexcept { return viewFormat_; }
    const RegisteredFormats& Registered() const noexcept { return registered_; }

    // The window joined the chain; `next` is what the joining call returned.
    void Joined(WindowId next);
    // The window is going: the follower to hand to the leaving call, or nothing when not chained.
    std::optional<WindowId> Leave();

    void OnDrawClipboard(std::uintptr_t wParam, std::intptr_t lParam);
    void OnDestroyClipboard();
    void OnChangeCbChain(WindowId leaving, WindowId following);

    // Asks for a view format; falls back to cvDefault when it cannot be shown now.
    void RequestViewFormat(TClipboardViewFormat v);

private:
    void PassOn(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    const ClipboardProbe& probe_;
    RegisteredFormats registered_;
    ViewerActions& actions_;
    WindowId nextViewer_ = 0;
    bool chained_ = false;
    TClipboardViewFormat viewFormat_ = cvDefault;
};

}  // namespace tessera
