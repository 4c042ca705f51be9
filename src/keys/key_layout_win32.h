#pragma once
// The keyboard layout in force, as the hot-key texts need it.
#include "keys/hot_key_text.h"

namespace tessera {

class KeyLayoutWin32 final : public KeyLayout {
public:
    std::optional<std::uint8_t> KeyOf(char character) const override;
    std::optional<char> CharacterOf(std::uint8_t virtualKey) const override;
};

}  // namespace tessera
