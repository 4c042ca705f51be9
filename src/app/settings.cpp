#include "app/settings.h"

#include <stdexcept>

#include "text/ascii.h"

namespace tessera {

namespace {

constexpr char kOptionsSection[] = "Options";
constexpr char kWinStartKey[] = "WinStart";
constexpr char kWindowSection[] = "MainW";
constexpr char kLeftKey[] = "x";
constexpr char kTopKey[] = "y";
constexpr char kCopyHotKeyKey[] = "CopyHotKey";
constexpr char kPasteHotKeyKey[] = "PasteHotKey";
constexpr char kLanguageKey[] = "Language";
constexpr char kKeepEveryCopyKey[] = "KeepEveryCopy";
constexpr std::string_view kLanguageCodes[] = {"FR", "EN"};

// The Win32 port reads through a fixed buffer that cuts long values; cutting here too makes every
// store read the same, whatever it can hold.
std::optional<std::string> ReadValue(ProfileStore& store, const std::string& section, const std::string& key) {
    std::optional<std::string> value = store.ReadString(section, key);
    if (value && value->size() > kMaxProfileValueLength) value->resize(kMaxProfileValueLength);
    return value;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Up to 32 bits of pattern: "FFFFFFFF" is -1, leading zeros do not count against the 8 digits.
std::optional<uint32_t> ParseHexPattern(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        int d = HexDigitValue(c);
        if (d < 0 || value > 0x0FFFFFFFu) return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(d);
    }
    return value;
}

// The magnitude of a decimal number, stopping early once it is past any 32-bit value so that a
// long run of digits cannot overflow.
std::optional<uint64_t> ParseDecimalMagnitude(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > 0x80000000u) return std::nullopt;
    }
    return value;
}

}  // namespace

// Accepted: leading blanks, then an optional sign, then either decimal digits within the 32-bit
// signed range, or "0x"/"0X" and hexadecimal digits taken as a 32-bit pattern (a sign before a hex
// number negates that pattern). Nothing may follow the digits: "12abc" and "12 " are not numbers.
std::optional<int32_t> ParseProfileInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string_view rest = text.substr(i);

    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        std::optional<uint32_t> pattern = ParseHexPattern(rest.substr(2));
        if (!pattern) return std::nullopt;
        uint32_t bits = negative ? 0u - *pattern : *pattern;
        return static_cast<int32_t>(bits);
    }

    std::optional<uint64_t> magnitude = ParseDecimalMagnitude(rest);
    if (!magnitude) return std::nullopt;
    if (negative) return static_cast<int32_t>(-static_cast<int64_t>(*magnitude));
    if (*magnitude > 0x7FFFFFFFu) return std::nullopt;
    return static_cast<int32_t>(*magnitude);
}

int32_t ReadInteger(ProfileStore& store, const std::string& section, const std::string& key, int32_t defaultValue) {
    std::optional<std::string> value = ReadValue(store, section, key);
    if (!value) return defaultValue;
    return ParseProfileInteger(*value).value_or(defaultValue);
}

// A Boolean is stored as an integer: "yes" or "true" are not numbers and so give the default.
bool ReadBool(ProfileStore& store, const std::string& section, const std::string& key, bool defaultValue) {
    return ReadInteger(store, section, key, defaultValue ? 1 : 0) != 0;
}

bool WriteInteger(ProfileStore& store, const std::string& section, const std::string& key, int32_t value) {
    return store.WriteString(section, key, std::to_string(value));
}

bool WriteBool(ProfileStore& store, const std::string& section, const std::string& key, bool value) {
    return store.WriteString(section, key, value ? "1" : "0");
}

namespace {

std::optional<Language> ParseLanguage(std::string_view text) {
    for (int i = 0; i < 2; ++i)
        if (EqualsIgnoringCase(TrimBlanks(text), kLanguageCodes[i])) return static_cast<Language>(i);
    return std::nullopt;
}

// A hot key that cannot be read keeps its default, and the value is noted for the user.
HotKey ReadHotKey(ProfileStore& store, const char* key, HotKey defaultKeys, const KeyLayout& layout,
                  std::vector<std::string>& unreadable) {
    const std::optional<std::string> value = ReadValue(store, kOptionsSection, key);
    if (!value) return defaultKeys;
    if (const std::optional<HotKey> keys = ParseHotKey(*value, layout)) return *keys;
    unreadable.push_back(std::string(key) + "=" + *value);
    return defaultKeys;
}

}  // namespace

// Start with Windows is on unless the file says otherwise, so a first run registers the program.
Settings LoadSettings(ProfileStore& store, int32_t defaultLeft, int32_t defaultTop, const KeyLayout& layout) {
    Settings settings;
    settings.winStart = ReadBool(store, kOptionsSection, kWinStartKey, true);
    settings.left = ReadInteger(store, kWindowSection, kLeftKey, defaultLeft);
    settings.top = ReadInteger(store, kWindowSection, kTopKey, defaultTop);
    settings.copyHotKey = ReadHotKey(store, kCopyHotKeyKey, kDefaultCopyHotKey, layout, settings.unreadable);
    settings.pasteHotKey = ReadHotKey(store, kPasteHotKeyKey, kDefaultPasteHotKey, layout, settings.unreadable);
    settings.keepEveryCopy = ReadBool(store, kOptionsSection, kKeepEveryCopyKey, false);
    if (const std::optional<std::string> language = ReadValue(store, kOptionsSection, kLanguageKey)) {
        if (const std::optional<Language> known = ParseLanguage(*language))
            settings.language = *known;
        else
            settings.unreadable.push_back(std::string(kLanguageKey) + "=" + *language);
    }
    return settings;
}

Language LoadLanguage(ProfileStore& store) {
    const std::optional<std::string> language = ReadValue(store, kOptionsSection, kLanguageKey);
    return language ? ParseLanguage(*language).value_or(Language::French) : Language::French;
}

// Every value is tried even after a failure, so that one refused key loses no more than itself;
// the user is then told once.
void SaveSettings(ProfileStore& store, const Settings& settings, const KeyLayout& layout) {
    bool written = WriteBool(store, kOptionsSection, kWinStartKey, settings.winStart);
    written = WriteInteger(store, kWindowSection, kLeftKey, settings.left) && written;
    written = WriteInteger(store, kWindowSection, kTopKey, settings.top) && written;
    written = store.WriteString(kOptionsSection, kCopyHotKeyKey, HotKeyText(settings.copyHotKey, layout)) && written;
    written = store.WriteString(kOptionsSection, kPasteHotKeyKey, HotKeyText(settings.pasteHotKey, layout)) && written;
    written = store.WriteString(kOptionsSection, kLanguageKey,
                                std::string(kLanguageCodes[static_cast<int>(settings.language)])) &&
              written;
    written = WriteBool(store, kOptionsSection, kKeepEveryCopyKey, settings.keepEveryCopy) && written;
    if (!written) {
        // Messages are UTF-8; the path is the program's own 8-bit text.
        throw std::runtime_error("Impossible d'écrire le fichier de paramètres " + store.Path());
    }
}

// A window larger than the screen gets a negative origin; the halving truncates toward zero.
int32_t CentredOrigin(int32_t screenExtent, int32_t windowExtent) {
    return static_cast<int32_t>((static_cast<int64_t>(screenExtent) - windowExtent) / 2);
}

constexpr char kChooserWidthKey[] = "ChooserWidth";
constexpr char kChooserHeightKey[] = "ChooserHeight";

std::optional<ChooserSize> LoadChooserSize(ProfileStore& store) {
    const int32_t width = ReadInteger(store, kWindowSection, kChooserWidthKey, 0);
    const int32_t height = ReadInteger(store, kWindowSection, kChooserHeightKey, 0);
    if (width <= 0 || height <= 0) return std::nullopt;
    return ChooserSize{width, height};
}

bool SaveChooserSize(ProfileStore& store, const ChooserSize& size) {
    const bool width = WriteInteger(store, kWindowSection, kChooserWidthKey, size.width);
    return WriteInteger(store, kWindowSection, kChooserHeightKey, size.height) && width;
}

}  // namespace tessera
