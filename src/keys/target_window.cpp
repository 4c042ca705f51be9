#include "keys/target_window.h"

namespace tessera {

// The handle first: two windows may share a title, and a search by title takes whichever comes
// first. An empty title is never searched: untitled windows are many (the program's own hidden
// ones among them) and none of them is the one meant; the keys then go to the focus.
std::uintptr_t ChooseTargetWindow(const RememberedWindow& remembered, WindowLookup& windows) {
    if (remembered.handle != 0 && windows.Exists(remembered.handle)) return remembered.handle;
    if (remembered.title.empty()) return 0;
    return windows.FindByTitle(remembered.title);
}

}  // namespace tessera
