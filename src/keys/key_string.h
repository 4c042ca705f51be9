#pragma once
// Plays a key string (one token per byte: virtual keys, characters, F-keys, navigation keys and
// modifier markers) as key events through `out`.
#include <string_view>

#include "keys/keyboard_output.h"

namespace tessera {

// Byte values with a meaning of their own in a key string.
namespace key_bytes {
inline constexpr unsigned char kLastVirtualKey = 109;
inline constexpr unsigned char kF1 = 228;
inline constexpr unsigned char kF12 = 239;
inline constexpr unsigned char kHome = 240;
inline constexpr unsigned char kDelete = 249;
inline constexpr unsigned char kShiftDown = 250;
inline constexpr unsigned char kShiftUp = 251;
inline constexpr unsigned char kCtrlDown = 252;
inline constexpr unsigned char kCtrlUp = 253;
inline constexpr unsigned char kAltDown = 254;
inline constexpr unsigned char kAltUp = 255;
}  // namespace key_bytes

// The two strings the program sends: Ctrl+C and Ctrl+V.
inline constexpr std::string_view kCopyKeys =
    "\xFC"
    "C"
    "\xFD";
inline constexpr std::string_view kPasteKeys =
    "\xFC"
    "V"
    "\xFD";

void SendKeyString(std::string_view keys, KeyboardOutput& out);

}  // namespace tessera
