#pragma once
// The settings file's values: reading rules for integers and Booleans, and the program's settings.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keys/hot_key_text.h"

namespace tessera {

// A profile (INI) file seen as section/key string values.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The value, or nothing when the file, the section or the key is missing.
    virtual std::optional<std::string> ReadString(const std::string& section, const std::string& key) = 0;
    // Creates the file, the section or the key as needed; false when the value could not be written.
    virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    // Where the values live, for messages.
    virtual std::string Path() const = 0;
};

// Longest value a read returns; the rest of a longer value is cut off.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// A decimal or "0x" hexadecimal 32-bit integer, or nothing when `text` is not one.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

int32_t ReadInteger(ProfileStore& store, const std::string& section, const std::string& key, int32_t defaultValue);
bool ReadBool(ProfileStore& store, const std::string& section, const std::string& key, bool defaultValue);
bool WriteInteger(ProfileStore& store, const std::string& section, const std::string& key, int32_t value);
bool WriteBool(ProfileStore& store, const std::string& section, const std::string& key, bool value);

// The interface languages: the translation tables' columns.
enum class Language { French = 0, English = 1 };

// What the settings file keeps between runs.
struct Settings {
    bool winStart = true;
    int32_t left = 0;
    int32_t top = 0;
    HotKey copyHotKey = kDefaultCopyHotKey;
    HotKey pasteHotKey = kDefaultPasteHotKey;
    Language language = Language::French;
    // Every copy another program makes is filed, not only those of the copy hot key.
    bool keepEveryCopy = false;
    // The values read but not understood, as "key=value": their defaults are in force.
    std::vector<std::string> unreadable{};
};

// Every value, each falling back to its default when missing or unreadable. Hot keys on
// punctuation keys are read with `layout`.
Settings LoadSettings(ProfileStore& store, int32_t defaultLeft, int32_t defaultTop,
                      const KeyLayout& layout = LettersAndNamedKeysOnly());
// The language alone, for what shows before the settings are read (the splash).
Language LoadLanguage(ProfileStore& store);
// Writes every value; throws std::runtime_error naming the file when one could not be written.
void SaveSettings(ProfileStore& store, const Settings& settings, const KeyLayout& layout = LettersAndNamedKeysOnly());

// Origin that centres a window of `windowExtent` on a screen of `screenExtent` (one axis).
int32_t CentredOrigin(int32_t screenExtent, int32_t windowExtent);

// The chooser's size as the user left it: its client area in pixels at 100 % (so that it keeps
// its look at any scaling), in section [MainW] beside the main window's place, as ChooserWidth and
// ChooserHeight. Nothing when either is missing or unreadable: the chooser has its designed size.
struct ChooserSize {
    int32_t width = 0;
    int32_t height = 0;
};
std::optional<ChooserSize> LoadChooserSize(ProfileStore& store);
// False when a value could not be written.
bool SaveChooserSize(ProfileStore& store, const ChooserSize& size);

}  // namespace tessera
