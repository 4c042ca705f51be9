#pragma once
// What the tests' own clipboard viewers share: their part of the viewer chain.
#include <windows.h>

namespace tessera::testing {

// Answers WM_CHANGECBCHAIN for a viewer whose follower is `next`: a follower that leaves is
// replaced by its own follower, any other change goes on along the chain through `passOn(next)`.
template <typename PassOn>
void FollowChainChange(HWND& next, WPARAM leaving, LPARAM following, PassOn passOn) {
    if (reinterpret_cast<HWND>(leaving) == next)
        next = reinterpret_cast<HWND>(following);
    else if (next)
        passOn(next);
}

}  // namespace tessera::testing
