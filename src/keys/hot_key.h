#pragma once
// A hot key: a key and its modifiers, as RegisterHotKey takes them.
#include <cstdint>

namespace tessera {

// Modifier bits, as RegisterHotKey takes them.
namespace hot_key_mod {
inline constexpr unsigned kAlt = 1;
inline constexpr unsigned kCtrl = 2;
inline constexpr unsigned kShift = 4;
inline constexpr unsigned kWin = 8;
}  // namespace hot_key_mod

// The key is a virtual key.
struct HotKey {
    unsigned modifiers = 0;
    std::uint8_t virtualKey = 0;
    friend bool operator==(const HotKey&, const HotKey&) = default;
};

inline constexpr HotKey kDefaultCopyHotKey{hot_key_mod::kCtrl, 'Q'};
inline constexpr HotKey kDefaultPasteHotKey{hot_key_mod::kCtrl, 0x20};  // Ctrl+Space

}  // namespace tessera
