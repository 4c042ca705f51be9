// The hot-key commands' keys against a fake keyboard: a held or repeated hot key runs its command
// once and never types into the target.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "keys/hot_key_keys.h"
#include "keys/key_string.h"

namespace tessera {
namespace {

constexpr int kCopy = 101;
constexpr int kPaste = 100;
constexpr HotKey kCtrlQ = kDefaultCopyHotKey;
constexpr HotKey kCtrlSpace = kDefaultPasteHotKey;

struct Keyboard : KeyboardState {
    std::set<int> down;
    bool IsDown(std::uint8_t vk) const override { return down.count(vk) != 0; }
};

// Events as "+vk" (down) and "-vk" (up); scan codes are not the point here.
struct Recorder : KeyboardOutput {
    std::vector<std::string> events;
    std::uint16_t VkKeyScan(unsigned char c) override { return c == '~' ? 0x01C0 : 0xFFFF; }
    std::uint8_t ScanCode(std::uint8_t vk) override { return vk; }
    void KeyEvent(std::uint8_t vk, std::uint8_t, bool up) override {
        events.push_back((up ? "-" : "+") + std::to_string(vk));
    }
};

std::vector<std::string> Play(std::string_view keys, std::set<int> held) {
    Keyboard keyboard;
    keyboard.down = std::move(held);
    Recorder out;
    SendKeyStringKeepingModifiers(keys, keyboard, out);
    return out.events;
}

using Events = std::vector<std::string>;

TEST(HeldModifiers, AreLeftAsTheUserHoldsThem) {
    EXPECT_EQ(Play(kCopyKeys, {}), (Events{"+17", "+67", "-67", "-17"}));
    // Ctrl up would let go of the user's Ctrl: the held Q's repeat then typed "q" into the target.
    EXPECT_EQ(Play(kCopyKeys, {17, 'Q'}), (Events{"+67", "-67"}));
    // Shift and Alt, which the string does not want, are lifted for it and pressed again after.
    EXPECT_EQ(Play(kPasteKeys, {16, 17, 18}), (Events{"-16", "-18", "+86", "-86", "+18", "+16"}));
    // A character that needs Shift takes the user's.
    EXPECT_EQ(Play("~", {16}), (Events{"+192", "-192"}));
}

TEST(HotKeyKeys, AHeldHotKeyRunsOnceAndItsKeysWaitForTheRelease) {
    HotKeyKeys rules;
    Keyboard keyboard;
    keyboard.down = {17, 'Q'};
    ASSERT_TRUE(rules.Accept(kCopy, kCtrlQ));
    rules.Send({std::string(kCopyKeys), {7, "doc"}}, 1000);
    EXPECT_FALSE(rules.Poll(keyboard, 1020));
    EXPECT_FALSE(rules.Accept(kCopy, kCtrlQ)) << "the auto-repeat";
    EXPECT_FALSE(rules.Accept(kPaste, kCtrlSpace)) << "one command at a time";
    keyboard.down = {17};
    EXPECT_FALSE(rules.Poll(keyboard, 1200)) << "Ctrl still held";
    keyboard.down = {};
    const std::optional<KeysToSend> due = rules.Poll(keyboard, 1300);
    ASSERT_TRUE(due);
    EXPECT_EQ(due->keys, kCopyKeys);
    EXPECT_EQ(due->target.handle, 7u);
    EXPECT_FALSE(rules.Watching());
    EXPECT_TRUE(rules.Accept(kCopy, kCtrlQ)) << "a new press";
}

TEST(HotKeyKeys, KeysGoAtTheBoundWhileHeldAndTheRepeatsStayIgnoredUntilTheKeyIsUp) {
    HotKeyKeys rules;
    Keyboard keyboard;
    keyboard.down = {17, 'Q'};
    ASSERT_TRUE(rules.Accept(kCopy, kCtrlQ));
    // The clock wraps during the wait.
    const std::uint32_t start = 0xFFFFFF00u;
    rules.Send({std::string(kCopyKeys), {}}, start);
    EXPECT_FALSE(rules.Poll(keyboard, start + 20)) << "before the wrap";
    EXPECT_FALSE(rules.Poll(keyboard, start + HotKeyKeys::kReleaseWaitMs - 1));
    EXPECT_TRUE(rules.Poll(keyboard, start + HotKeyKeys::kReleaseWaitMs));
    EXPECT_FALSE(rules.Accept(kCopy, kCtrlQ));
    EXPECT_TRUE(rules.Watching());
    keyboard.down = {17};
    EXPECT_FALSE(rules.Poll(keyboard, 10));
    EXPECT_FALSE(rules.Watching());
    EXPECT_TRUE(rules.Accept(kCopy, kCtrlQ)) << "Q pressed again under the same Ctrl";
}

// Every modifier of the hot key is waited for: Alt or the right Win key still held would meet the
// keys in the target.
TEST(HotKeyKeys, KeysWaitForEveryModifierOfTheHotKey) {
    HotKeyKeys rules;
    Keyboard keyboard;
    ASSERT_TRUE(rules.Accept(kCopy, {hot_key_mod::kAlt | hot_key_mod::kWin | hot_key_mod::kShift, 'C'}));
    rules.Send({std::string(kCopyKeys), {}}, 0);
    for (const int held : {18, 0x5C, 16}) {
        keyboard.down = {held};
        EXPECT_FALSE(rules.Poll(keyboard, 10)) << held;
    }
    keyboard.down = {17};  // Ctrl is not part of this hot key
    EXPECT_TRUE(rules.Poll(keyboard, 10));
}

TEST(HotKeyKeys, KeysOfACommandWhoseHotKeyIsAlreadyUpGoAtOnce) {
    HotKeyKeys rules;
    Keyboard keyboard;
    keyboard.down = {17, 32};
    ASSERT_TRUE(rules.Accept(kPaste, kCtrlSpace));
    keyboard.down = {};
    EXPECT_FALSE(rules.Poll(keyboard, 0));  // released while the chooser is open
    EXPECT_FALSE(rules.Watching());
    rules.Send({std::string(kPasteKeys), {}, true}, 5000);
    EXPECT_TRUE(rules.Poll(keyboard, 5000));
}

}  // namespace
}  // namespace tessera
