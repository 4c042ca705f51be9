#include "keys/hot_key_keys.h"

#include <algorithm>
#include <array>
#include <vector>

#include "keys/key_string.h"

namespace tessera {
namespace {

// Shift, Ctrl, Alt, left and right Win.
constexpr std::array<std::uint8_t, 5> kModifierKeys = {16, 17, 18, 0x5B, 0x5C};

// Whether any key of the modifiers `modifiers` (hot_key_mod bits) is down.
bool AnyModifierDown(unsigned modifiers, const KeyboardState& keyboard) {
    using namespace hot_key_mod;
    return ((modifiers & kShift) && keyboard.IsDown(16)) || ((modifiers & kCtrl) && keyboard.IsDown(17)) ||
           ((modifiers & kAlt) && keyboard.IsDown(18)) ||
           ((modifiers & kWin) && (keyboard.IsDown(0x5B) || keyboard.IsDown(0x5C)));
}

struct RecordedEvent {
    std::uint8_t virtualKey;
    std::uint8_t scanCode;
    bool up;
};

// Collects the events of a key string, reading the layout of the real output.
class EventRecorder final : public KeyboardOutput {
public:
    explicit EventRecorder(KeyboardOutput& layout) : layout_(layout) {}
    std::uint16_t VkKeyScan(unsigned char character) override { return layout_.VkKeyScan(character); }
    std::uint8_t ScanCode(std::uint8_t virtualKey) override { return layout_.ScanCode(virtualKey); }
    void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, bool up) override {
        events.push_back({virtualKey, scanCode, up});
    }
    std::vector<RecordedEvent> events;

private:
    KeyboardOutput& layout_;
};

}  // namespace

// The system has one state per key for the user and the program alike: a Ctrl up sent while the
// user holds Ctrl lets go of the user's Ctrl too, and the key the user still holds then types
// into the target. So a modifier the user holds and the string wants is not sent at all (the
// user's stands in for it), and one the string does not want is lifted only for the string.
void SendKeyStringKeepingModifiers(std::string_view keys, const KeyboardState& held, KeyboardOutput& out) {
    EventRecorder recorder(out);
    SendKeyString(keys, recorder);
    const std::vector<RecordedEvent>& events = recorder.events;
    std::vector<std::uint8_t> usersOwn;
    std::vector<std::uint8_t> lifted;
    for (const std::uint8_t vk : kModifierKeys) {
        if (!held.IsDown(vk)) continue;
        const bool pressed = std::any_of(events.begin(), events.end(),
                                         [vk](const RecordedEvent& e) { return e.virtualKey == vk && !e.up; });
        (pressed ? usersOwn : lifted).push_back(vk);
    }
    for (const std::uint8_t vk : lifted) out.KeyEvent(vk, out.ScanCode(vk), true);
    for (const RecordedEvent& e : events) {
        if (std::find(usersOwn.begin(), usersOwn.end(), e.virtualKey) == usersOwn.end())
            out.KeyEvent(e.virtualKey, e.scanCode, e.up);
    }
    for (auto vk = lifted.rbegin(); vk != lifted.rend(); ++vk) out.KeyEvent(*vk, out.ScanCode(*vk), false);
}

// A hot key held down comes again at the keyboard's repeat rate (where the system does not drop
// the repeats itself): the same id before its key was seen up is that repeat. While keys still
// wait, any hot key is ignored: its command's keys would mix with theirs.
bool HotKeyKeys::Accept(int id, HotKey keys) {
    if (waiting_ || repeatOf_ == id) return false;
    repeatOf_ = id;
    keys_ = keys;
    return true;
}

void HotKeyKeys::Send(KeysToSend keys, std::uint32_t now) {
    waiting_ = std::move(keys);
    deadline_ = now + kReleaseWaitMs;
}

// Keys sent while the user still holds the hot key would meet the user's own keys in the target;
// after the wait they go anyway, over the held modifiers, and the repeats stay ignored until the
// key is let go.
std::optional<KeysToSend> HotKeyKeys::Poll(const KeyboardState& keyboard, std::uint32_t now) {
    const bool keyDown = keyboard.IsDown(keys_.virtualKey);
    if (!keyDown) repeatOf_.reset();
    if (!waiting_) return std::nullopt;
    const bool released = !keyDown && !AnyModifierDown(keys_.modifiers, keyboard);
    const bool timeUp = static_cast<std::int32_t>(now - deadline_) >= 0;
    if (!released && !timeUp) return std::nullopt;
    std::optional<KeysToSend> due = std::move(waiting_);
    waiting_.reset();
    return due;
}

}  // namespace tessera
