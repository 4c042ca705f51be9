#include "keys/key_layout_win32.h"

#include <windows.h>

namespace tessera {

// Only a key that types the character without any modifier names it: a hot key on a character
// that needs Shift would be a different hot key.
std::optional<std::uint8_t> KeyLayoutWin32::KeyOf(char character) const {
    const SHORT scan = ::VkKeyScanA(character);
    if (scan == -1 || (scan >> 8) != 0) return std::nullopt;
    return static_cast<std::uint8_t>(scan & 0xFF);
}

std::optional<char> KeyLayoutWin32::CharacterOf(std::uint8_t virtualKey) const {
    const UINT mapped = ::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_CHAR) & 0x7FFF;  // dead keys: top bit
    if (mapped <= ' ' || mapped >= 0x7F) return std::nullopt;
    return static_cast<char>(mapped);
}

}  // namespace tessera
