#pragma once
// Hot keys as the settings file writes them ("Ctrl+Shift+V") and as the options window names
// them in the active language ("Ctrl + Maj + V").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys/hot_key.h"

namespace tessera {

// Which key of the keyboard layout types a punctuation character, and back.
class KeyLayout {
public:
    virtual ~KeyLayout() = default;
    // The virtual key that types `character` without modifiers, or nothing.
    virtual std::optional<std::uint8_t> KeyOf(char character) const = 0;
    // The character the key types without modifiers, or nothing.
    virtual std::optional<char> CharacterOf(std::uint8_t virtualKey) const = 0;
};

// A layout that types no punctuation: letters, digits and named keys only.
const KeyLayout& LettersAndNamedKeysOnly();

// "Ctrl+Shift+V", "alt + f9", "Win+Insert", "Ctrl+Alt+,": modifiers Ctrl, Alt, Shift, Win in any
// order and letter case, then a key (a letter, a digit, F1 to F24, Space, Insert, Home, End,
// PageUp, PageDown or a punctuation character). Nothing for anything else, and for a key that
// would take ordinary typing away from every program (no modifier, or Shift alone, but for F-keys).
std::optional<HotKey> ParseHotKey(std::string_view text, const KeyLayout& layout);

// The settings file's form: "Ctrl+Alt+Shift+Win+Key", modifiers in that order.
std::string HotKeyText(const HotKey& key, const KeyLayout& layout);

// The form the options window shows, in the language `language` (0 French, 1 English): the
// names joined by " + " ("Ctrl + Maj + V", "Ctrl + Espace"; "Ctrl + Shift + V", "Ctrl + Space").
std::string HotKeyDisplayText(const HotKey& key, const KeyLayout& layout, int language);

}  // namespace tessera
