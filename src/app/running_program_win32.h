#pragma once
// This Tessera as a store user, and another one running on this computer.
#include <cstdint>

#include "store/store_user.h"

namespace tessera {

// This computer's name and this process.
StoreUser ThisStoreUser();
// Asks the Tessera of process `process` to show its options window, letting it come to the
// front; false when it has no main window (not started yet, or not a Tessera).
bool ShowOptionsOfRunningTessera(std::uint32_t process);

}  // namespace tessera
