#include "keys/key_string.h"

#include <array>
#include <cstdint>

namespace tessera {
namespace {

constexpr std::uint8_t kVkShift = 16;
// Shift wrapped around a character always carries the scan code of the left Shift key.
constexpr std::uint8_t kShiftScanCode = 42;

// Home, End, Up, Down, Left, Right, Page Up, Page Down, Insert, Delete.
constexpr std::array<std::uint8_t, 10> kNavigationKeys = {36, 35, 38, 40, 37, 39, 33, 34, 45, 46};
// Shift, Ctrl, Alt: one pair of marker bytes each, the even one pressing, the odd one releasing.
constexpr std::array<std::uint8_t, 3> kModifierKeys = {16, 17, 18};

}  // namespace

// Every byte is one token, read in order. The modifier flag is one for all three modifiers: the
// last marker seen decides it, so "Shift down, Ctrl down, Shift up" leaves it false although Ctrl
// is still held. While it is set, characters that need a modifier in the layout are sent bare,
// on the understanding that the string holds the modifier it wants.
void SendKeyString(std::string_view keys, KeyboardOutput& out) {
    using namespace key_bytes;
    bool modifierHeld = false;
    for (const char c : keys) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= kShiftDown) {
            const std::uint8_t vk = kModifierKeys[(b - kShiftDown) / 2];
            const bool up = (b % 2) != 0;
            out.KeyEvent(vk, out.ScanCode(vk), up);
            modifierHeld = !up;
            continue;
        }

        std::uint8_t vk = 0;
        std::uint8_t shiftState = 0;
        if (b >= kHome) {
            vk = kNavigationKeys[b - kHome];
        } else if (b >= kF1) {
            vk = static_cast<std::uint8_t>(b - 116);
        } else if (b <= kLastVirtualKey) {
            vk = b;
        } else {
            // An unmapped character comes back as all ones: virtual key 255 with a shift state.
            const std::uint16_t scan = out.VkKeyScan(b);
            vk = static_cast<std::uint8_t>(scan & 0xFF);
            shiftState = static_cast<std::uint8_t>(scan >> 8);
        }
        const std::uint8_t scanCode = out.ScanCode(vk);

        // Whatever modifier the layout asks for (Shift, Ctrl or Alt), Shift alone is pressed.
        const bool wrapInShift = !modifierHeld && shiftState != 0;
        if (wrapInShift) out.KeyEvent(kVkShift, kShiftScanCode, false);
        out.KeyEvent(vk, scanCode, false);
        out.KeyEvent(vk, scanCode, true);
        if (wrapInShift) out.KeyEvent(kVkShift, kShiftScanCode, true);
    }
}

}  // namespace tessera
