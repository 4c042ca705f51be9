// Plays any bytes as a key string on a keyboard layout drawn from the input, and checks the
// events token by token: one event per modifier marker, and every other key tapped (pressed then
// released), wrapped in Shift only when the layout asks for a modifier and none is held.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "keys/key_string.h"

namespace {

struct Event {
    std::uint8_t vk;
    std::uint8_t scan;
    bool up;
};

// Scan codes are a function of the virtual key the test can repeat; a character has no key in
// the layout when the draw says so.
class FuzzKeyboard : public tessera::KeyboardOutput {
public:
    explicit FuzzKeyboard(std::uint32_t layout) : layout_(layout) {}
    std::vector<Event> events;

    std::uint16_t VkKeyScan(unsigned char c) override {
        const std::uint32_t mixed = (c * 2654435761u) ^ layout_;
        if (mixed % 5 == 0) return 0xFFFF;
        return static_cast<std::uint16_t>(mixed & 0x07FF);
    }
    std::uint8_t ScanCode(std::uint8_t vk) override { return Scan(vk); }
    void KeyEvent(std::uint8_t vk, std::uint8_t scan, bool up) override { events.push_back({vk, scan, up}); }

    std::uint8_t Scan(std::uint8_t vk) const { return static_cast<std::uint8_t>(vk * 7 + layout_); }

private:
    std::uint32_t layout_;
};

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzKeyboard keyboard(input.ConsumeIntegral<std::uint32_t>());
    const std::string keys = input.ConsumeRemainingBytesAsString();
    tessera::SendKeyString(keys, keyboard);

    namespace kb = tessera::key_bytes;
    const std::vector<Event>& events = keyboard.events;
    std::size_t at = 0;
    const auto next = [&]() -> const Event& {
        Check(at < events.size());
        return events[at++];
    };
    bool modifierHeld = false;
    for (const char c : keys) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= kb::kShiftDown) {
            const Event& e = next();
            Check(e.vk == 16 + (b - kb::kShiftDown) / 2 && e.scan == keyboard.Scan(e.vk) && e.up == (b % 2 != 0));
            modifierHeld = !e.up;
            continue;
        }
        const bool needsShift = b > kb::kLastVirtualKey && b < kb::kF1 && (keyboard.VkKeyScan(b) >> 8) != 0;
        const bool wrapped = needsShift && !modifierHeld;
        if (wrapped) {
            const Event& shift = next();
            Check(shift.vk == 16 && shift.scan == 42 && !shift.up);
        }
        const Event down = next();
        const Event up = next();
        Check(!down.up && up.up && down.vk == up.vk && down.scan == up.scan && down.scan == keyboard.Scan(down.vk));
        if (b <= kb::kLastVirtualKey) Check(down.vk == b);
        if (b >= kb::kF1 && b <= kb::kF12) Check(down.vk == 112 + (b - kb::kF1));
        if (b >= kb::kHome) Check(down.vk >= 33 && down.vk <= 46);
        if (wrapped) {
            const Event& shift = next();
            Check(shift.vk == 16 && shift.scan == 42 && shift.up);
        }
    }
    Check(at == events.size());
    return 0;
}
