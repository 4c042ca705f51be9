// Hot keys read from and written to the settings file, and named in the options window.
#include "keys/hot_key_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>

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
    for (const char* text : {"Ctrl+Shift+V", "shift+ctrl+v", " SHIFT + Ctrl + V "})
        EXPECT_EQ(ParseHotKey(text, layout), (HotKey{kCtrl | kShift, 'V'})) << text;
    EXPECT_EQ(ParseHotKey("win+ALT+v", layout), (HotKey{kAlt | kWin, 'V'}));
    EXPECT_EQ(HotKeyText({kWin | kShift | kAlt | kCtrl, 'V'}, layout), "Ctrl+Alt+Shift+Win+V");
}

// Each key reads, whatever its letter case, as the virtual key Windows registers, and is
// written back as the settings file had it. F-keys alone or with Shift take no typing away.
TEST(HotKeyText, ReadsEveryKeyNameInAnyCaseAsItsKeyAndWritesItBack) {
    const UsLayout layout;
    const std::pair<std::string, std::uint8_t> keys[] = {
        {"A", 'A'},       {"Z", 'Z'},         {"0", '0'},       {"9", '9'},     {"F1", 0x70},
        {"F24", 0x87},    {"Space", 0x20},    {"Insert", 0x2D}, {"Home", 0x24}, {"End", 0x23},
        {"PageUp", 0x21}, {"PageDown", 0x22}, {",", 0xBC}};
    for (const auto& [name, virtualKey] : keys) {
        const std::string text = "Ctrl+" + name;
        std::string lower = text;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(ParseHotKey(text, layout), (HotKey{kCtrl, virtualKey})) << text;
        EXPECT_EQ(ParseHotKey(lower, layout), (HotKey{kCtrl, virtualKey})) << lower;
        EXPECT_EQ(HotKeyText({kCtrl, virtualKey}, layout), text);
    }
    EXPECT_EQ(ParseHotKey("f12", layout), (HotKey{0, 0x7B}));
    EXPECT_EQ(ParseHotKey("Shift+F1", layout), (HotKey{kShift, 0x70}));
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
