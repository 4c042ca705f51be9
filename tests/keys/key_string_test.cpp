// Key strings decoded against a fake keyboard layout: the events, their order and the Shift rule.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "keys/key_string.h"

namespace tessera {
namespace {

struct Event {
    int vk;
    int scan;
    bool up;
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
    return os << "{" << e.vk << ", " << e.scan << (e.up ? ", up}" : ", down}");
}

// A small layout: '~' needs Shift, '|' needs Ctrl+Alt (shift state 6), 'n' is a plain key, and
// every other character has no key. Scan codes are the virtual key plus 100, so a wrong source
// of scan code shows.
class FakeKeyboard : public KeyboardOutput {
public:
    std::map<unsigned char, std::uint16_t> layout = {{'~', 0x01C0}, {'|', 0x06DC}, {'n', 0x004E}};
    std::vector<Event> events;

    std::uint16_t VkKeyScan(unsigned char c) override {
        auto it = layout.find(c);
        return it == layout.end() ? 0xFFFF : it->second;
    }
    std::uint8_t ScanCode(std::uint8_t vk) override { return static_cast<std::uint8_t>(vk + 100); }
    void KeyEvent(std::uint8_t vk, std::uint8_t scan, bool up) override { events.push_back({vk, scan, up}); }
};

std::vector<Event> Play(const std::string& keys) {
    FakeKeyboard keyboard;
    SendKeyString(keys, keyboard);
    return keyboard.events;
}

std::vector<Event> Tap(int vk) { return {{vk, (vk + 100) & 0xFF, false}, {vk, (vk + 100) & 0xFF, true}}; }

std::vector<Event> Shifted(int vk) {
    std::vector<Event> e = {{16, 42, false}};
    for (const Event& t : Tap(vk)) e.push_back(t);
    e.push_back({16, 42, true});
    return e;
}

std::vector<Event> Concat(std::initializer_list<std::vector<Event>> parts) {
    std::vector<Event> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(KeyString, CopyAndPasteAreCtrlAroundOneTap) {
    EXPECT_EQ(Play(std::string(kCopyKeys)),
              (std::vector<Event>{{17, 117, false}, {67, 167, false}, {67, 167, true}, {17, 117, true}}));
    EXPECT_EQ(Play(std::string(kPasteKeys)),
              (std::vector<Event>{{17, 117, false}, {86, 186, false}, {86, 186, true}, {17, 117, true}}));
    EXPECT_TRUE(Play("").empty());
}

TEST(KeyString, LowBytesAreVirtualKeysAndHighBytesNameKeys) {
    // "A" is the A key without Shift; "a" is keypad 1, not the letter.
    EXPECT_EQ(Play("A"), Tap(65));
    EXPECT_EQ(Play("a"), Tap(97));
    EXPECT_EQ(Play("m"), Tap(109));
    // 110 is the first byte read through the layout.
    EXPECT_EQ(Play("n"), Tap(0x4E));
    EXPECT_EQ(Play("\xE4\xEF"), Concat({Tap(112), Tap(123)}));  // F1, F12
    EXPECT_EQ(Play("\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9"),
              Concat({Tap(36), Tap(35), Tap(38), Tap(40), Tap(37), Tap(39), Tap(33), Tap(34), Tap(45), Tap(46)}));
    // Alt and Shift markers press and release their own keys.
    EXPECT_EQ(Play("\xFE\xFF\xFA\xFB"),
              (std::vector<Event>{{18, 118, false}, {18, 118, true}, {16, 116, false}, {16, 116, true}}));
}

TEST(KeyString, ShiftWrapsCharactersOnlyWhileNoModifierIsHeld) {
    EXPECT_EQ(Play("~"), Shifted(0xC0));
    // Ctrl+Alt in the layout still gives Shift, and only Shift.
    EXPECT_EQ(Play("|"), Shifted(0xDC));
    // After Ctrl down the string is taken to hold what it wants: no Shift.
    EXPECT_EQ(Play("\xFC~\xFD"), Concat({{{17, 117, false}}, Tap(0xC0), {{17, 117, true}}}));
    // The flag is back to false after Ctrl up.
    EXPECT_EQ(Play("\xFC\xFD~"), Concat({{{17, 117, false}, {17, 117, true}}, Shifted(0xC0)}));
    // One flag for all modifiers: Shift up clears it though Ctrl is still down.
    EXPECT_EQ(Play("\xFA\xFC\xFB~"), Concat({{{16, 116, false}, {17, 117, false}, {16, 116, true}}, Shifted(0xC0)}));
}

}  // namespace
}  // namespace tessera
