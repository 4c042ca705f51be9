#pragma once
// Which window a hot-key command's keys go to: the one that was in front when the hot key came,
// found again by its title only once it is gone.
#include <cstdint>
#include <string>

namespace tessera {

// The window in front when a hot key came: its handle (0 for none) and its title then.
struct RememberedWindow {
    std::uintptr_t handle = 0;
    std::string title;
};

// The top-level windows, as the rule sees them.
class WindowLookup {
public:
    virtual ~WindowLookup() = default;
    virtual bool Exists(std::uintptr_t window) = 0;
    // A top-level window titled exactly `title`, or 0.
    virtual std::uintptr_t FindByTitle(const std::string& title) = 0;
};

// The remembered window while it exists, else a window with its title, else 0.
std::uintptr_t ChooseTargetWindow(const RememberedWindow& remembered, WindowLookup& windows);

}  // namespace tessera
