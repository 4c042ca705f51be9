#pragma once
// The port through which the key sender reads the keyboard layout and plays key events.
#include <cstdint>

namespace tessera {

class KeyboardOutput {
public:
    virtual ~KeyboardOutput() = default;

    // The layout's key for an 8-bit character: virtual key in the low byte, shift state in the
    // high byte; all ones when no key produces it.
    virtual std::uint16_t VkKeyScan(unsigned char character) = 0;
    // The scan code of a virtual key in the current layout (0 when it has none).
    virtual std::uint8_t ScanCode(std::uint8_t virtualKey) = 0;
    // One synthetic key event, pressed or released; never marked as an extended key.
    virtual void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, bool keyUp) = 0;
};

}  // namespace tessera
