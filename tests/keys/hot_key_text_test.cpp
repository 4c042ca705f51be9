// Hot keys read from and written to the settings file, and named in the options window.
#include "keys/hot_key_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tessera {
namespace {

// A US layout's punctuation keys: "," is VK_OEM_COMMA, "=" VK_OEM_PLUS, "+" nowhere unshifted.
struct UsLayout : KeyLayout {
    std::optional<std::uint8_t> KeyOf(char c) const override {
        if (c == ',') return 0xBC;
        if (c == '=') return 0xBB;
        return std::nullopt;
    }
    std::optional<char> CharacterOf(std::uint8_t key) const override {
        if (key == 0xBC) return ',';
        if (key == 0xBB) return '=';
        return std::nullopt;
    }
};

using namespace hot_key_mod;

TEST(HotKeyText, ReadsModifiersInAnyOrderAndCaseAndWritesThemInOne) {
    const UsLayout layout;
    const HotKey ctrlShiftV{kCtrl | kShift, 'V'};
    for (const char* text : {"Ctrl+Shift+V", "shift+ctrl+v", " SHIFT + Ctrl + V ", "Shift+Ctrl+V"})
        EXPECT_EQ(ParseHotKey(text, layout), ctrlShiftV) << text;
    EXPECT_EQ(HotKeyText(ctrlShiftV, layout), "Ctrl+Shift+V");

    // Every key kind, and the round trip through the written form.
    for (const char* text : {"Ctrl+Q", "Ctrl+Space", "Alt+F9", "Win+Insert", "Ctrl+Alt+Shift+Win+F24", "Ctrl+Home",
                             "Ctrl+End", "Alt+PageUp", "Alt+PageDown", "Ctrl+7", "Ctrl+Alt+,", "F12", "Shift+F1"}) {
        const std::optional<HotKey> key = ParseHotKey(text, layout);
        ASSERT_TRUE(key) << text;
        EXPECT_EQ(HotKeyText(*key, layout), text);
    }
    EXPECT_EQ(ParseHotKey("Ctrl+Space", layout), kDefaultPasteHotKey);
    EXPECT_EQ(ParseHotKey("ctrl+q", layout), kDefaultCopyHotKey);
}

TEST(HotKeyText, RefusesWhatIsNoHotKey) {
    const UsLayout layout;
    for (const char* text : {"", "+", "Ctrl+", "Ctrl++", "Ctrl+Ctrl+Q", "Ctl+Q", "Ctrl+Q+", "Ctrl+F25", "Ctrl+F0",
                             "Ctrl+F01", "Ctrl+Enter", "Ctrl+QQ", "Ctrl+é", "Q", "Space", "Shift+Q", "Ctrl +  + Q"})
        EXPECT_EQ(ParseHotKey(text, layout), std::nullopt) << '"' << text << '"';
}

TEST(HotKeyText, NamesTheKeysInTheActiveLanguage) {
    const UsLayout layout;
    EXPECT_EQ(HotKeyDisplayText(kDefaultCopyHotKey, layout, 0), "Ctrl + Q");
    EXPECT_EQ(HotKeyDisplayText(kDefaultPasteHotKey, layout, 0), "Ctrl + Espace");
    EXPECT_EQ(HotKeyDisplayText(kDefaultPasteHotKey, layout, 1), "Ctrl + Space");
    EXPECT_EQ(HotKeyDisplayText({kCtrl | kShift, 'C'}, layout, 0), "Ctrl + Maj + C");
    EXPECT_EQ(HotKeyDisplayText({kCtrl | kShift, 'C'}, layout, 1), "Ctrl + Shift + C");
}

}  // namespace
}  // namespace tessera
