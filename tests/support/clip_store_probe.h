#pragma once
// The tests' view of a store's index: rows set up in one step, and read back whole.
#include "store/clip_store.h"

namespace tessera {

struct ClipStoreProbe {
    static ClipIndex& Grid(ClipStore& store) { return store.grid; }
};

}  // namespace tessera
