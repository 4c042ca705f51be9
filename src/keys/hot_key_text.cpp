#include "keys/hot_key_text.h"

#include <array>
#include <vector>

#include "text/ascii.h"

namespace tessera {
namespace {

struct Named {
    std::string_view name;
    std::string_view french;
    unsigned value;
};

// In the order the texts name them.
constexpr std::array<Named, 4> kModifiers{{{"Ctrl", "Ctrl", hot_key_mod::kCtrl},
                                           {"Alt", "Alt", hot_key_mod::kAlt},
                                           {"Shift", "Maj", hot_key_mod::kShift},
                                           {"Win", "Win", hot_key_mod::kWin}}};

// Keys that have a name; the French ones are the names on French keyboards.
constexpr std::array<Named, 6> kNamedKeys{{{"Space", "Espace", 0x20},
                                           {"Insert", "Inser", 0x2D},
                                           {"Home", "Origine", 0x24},
                                           {"End", "Fin", 0x23},
                                           {"PageUp", "Pg.Préc", 0x21},
                                           {"PageDown", "Pg.Suiv", 0x22}}};

constexpr std::uint8_t kF1 = 0x70;
constexpr int kFunctionKeys = 24;

bool IsLetterOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::optional<std::uint8_t> KeyNamed(std::string_view name, const KeyLayout& layout) {
    if (name.size() == 1) {
        const char c = UpperAscii(name[0]);
        if (IsLetterOrDigit(c)) return static_cast<std::uint8_t>(c);
        if (c > ' ' && static_cast<unsigned char>(c) < 0x7F) return layout.KeyOf(name[0]);
        return std::nullopt;
    }
    for (const Named& key : kNamedKeys)
        if (EqualsIgnoringCase(name, key.name)) return static_cast<std::uint8_t>(key.value);
    if (name.size() >= 2 && UpperAscii(name[0]) == 'F') {
        int number = 0;
        for (const char c : name.substr(1)) {
            if (c < '0' || c > '9' || number > kFunctionKeys) return std::nullopt;
            number = number * 10 + (c - '0');
        }
        if (number >= 1 && number <= kFunctionKeys && name[1] != '0')
            return static_cast<std::uint8_t>(kF1 + number - 1);
    }
    return std::nullopt;
}

bool IsFunctionKey(std::uint8_t key) { return key >= kF1 && key < kF1 + kFunctionKeys; }

// The key's name in the settings file's form, or nothing for a key no text names.
std::optional<std::string> KeyName(std::uint8_t key, const KeyLayout& layout, bool french) {
    if (IsLetterOrDigit(static_cast<char>(key))) return std::string(1, static_cast<char>(key));
    if (IsFunctionKey(key)) return "F" + std::to_string(key - kF1 + 1);
    for (const Named& named : kNamedKeys)
        if (named.value == key) return std::string(french ? named.french : named.name);
    if (const std::optional<char> c = layout.CharacterOf(key)) return std::string(1, *c);
    return std::nullopt;
}

std::string Joined(const HotKey& key, const KeyLayout& layout, bool french, std::string_view separator) {
    std::string text;
    for (const Named& modifier : kModifiers) {
        if (!(key.modifiers & modifier.value)) continue;
        text += french ? modifier.french : modifier.name;
        text += separator;
    }
    const std::optional<std::string> name = KeyName(key.virtualKey, layout, french);
    return text + name.value_or("?");
}

}  // namespace

const KeyLayout& LettersAndNamedKeysOnly() {
    struct NoPunctuation final : KeyLayout {
        std::optional<std::uint8_t> KeyOf(char) const override { return std::nullopt; }
        std::optional<char> CharacterOf(std::uint8_t) const override { return std::nullopt; }
    };
    static const NoPunctuation layout;
    return layout;
}

// A "+" as the key itself comes last, after the "+" that joins it: "Ctrl++".
std::optional<HotKey> ParseHotKey(std::string_view text, const KeyLayout& layout) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    std::string_view keyName;
    std::string_view rest;
    if (text.back() == '+') {
        keyName = "+";
        rest = TrimBlanks(text.substr(0, text.size() - 1));
        if (!rest.empty()) {
            if (rest.back() != '+') return std::nullopt;
            rest.remove_suffix(1);
        }
    } else {
        const std::size_t split = text.rfind('+');
        keyName = TrimBlanks(split == std::string_view::npos ? text : text.substr(split + 1));
        if (split != std::string_view::npos) rest = text.substr(0, split);
    }

    HotKey key;
    while (!rest.empty()) {
        const std::size_t plus = rest.find('+');
        const std::string_view name = TrimBlanks(rest.substr(0, plus));
        rest = plus == std::string_view::npos ? std::string_view{} : rest.substr(plus + 1);
        unsigned bit = 0;
        for (const Named& modifier : kModifiers)
            if (EqualsIgnoringCase(name, modifier.name)) bit = modifier.value;
        if (bit == 0 || (key.modifiers & bit)) return std::nullopt;  // unknown, or named twice
        key.modifiers |= bit;
    }
    const std::optional<std::uint8_t> virtualKey = KeyNamed(keyName, layout);
    if (!virtualKey) return std::nullopt;
    key.virtualKey = *virtualKey;
    const bool takesTyping = key.modifiers == 0 || key.modifiers == hot_key_mod::kShift;
    if (takesTyping && !IsFunctionKey(key.virtualKey)) return std::nullopt;
    return key;
}

std::string HotKeyText(const HotKey& key, const KeyLayout& layout) { return Joined(key, layout, false, "+"); }

std::string HotKeyDisplayText(const HotKey& key, const KeyLayout& layout, int language) {
    return Joined(key, layout, language == 0, " + ");
}

}  // namespace tessera
