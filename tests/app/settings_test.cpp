#include "app/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

namespace tessera {
namespace {

// An in-memory profile file; a key mapped in `refused` fails to be written.
struct FakeProfile : ProfileStore {
    using Key = std::pair<std::string, std::string>;
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) override {
        auto it = values.find({section, key});
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        if (refused.count({section, key})) return false;
        values[{section, key}] = value;
        return true;
    }
    std::string Path() const override { return "C:\\Tessera\\TESSERA.INI"; }

    std::map<Key, std::string> values;
    std::set<Key> refused;
};

// The chooser opens at the size the user left it; a size the file lacks or cannot give leaves it
// at its designed size.
TEST(ChooserSize, ComesBackAsLeftOrNotAtAll) {
    FakeProfile ini;
    EXPECT_FALSE(LoadChooserSize(ini));
    EXPECT_TRUE(SaveChooserSize(ini, {700, 420}));
    EXPECT_EQ(LoadChooserSize(ini)->height, 420);
    ini.values[{"MainW", "ChooserWidth"}] = "wide";
    EXPECT_FALSE(LoadChooserSize(ini));
}

TEST(ParseProfileInteger, ReadsDecimalAndHexadecimal) {
    EXPECT_EQ(ParseProfileInteger("  \t12"), 12);
    EXPECT_EQ(ParseProfileInteger("-5"), -5);
    EXPECT_EQ(ParseProfileInteger("+7"), 7);
    EXPECT_EQ(ParseProfileInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseProfileInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseProfileInteger("0x64"), 100);
    EXPECT_EQ(ParseProfileInteger("0X1f"), 31);
    EXPECT_EQ(ParseProfileInteger(" 0xFFFFFFFF"), -1);  // a 32-bit pattern, not a range check
    EXPECT_EQ(ParseProfileInteger("0x0000000064"), 100);
    EXPECT_EQ(ParseProfileInteger("-0x10"), -16);
}

TEST(ParseProfileInteger, RejectsWhatIsNotAWholeNumber) {
    for (const char* text : {"", "   ", "abc", "yes", "12abc", "12 ", "1.5", "- 5", "--5", "+", "0x", "0x1g", "$64",
                             "2147483648", "-2147483649", "0x100000000", "99999999999999999999999999999"}) {
        EXPECT_EQ(ParseProfileInteger(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(ReadIntegerAndBool, FallBackToTheDefaultWhenMissingOrNotANumber) {
    FakeProfile profile;
    profile.values = {{{"MainW", "x"}, "0x64"},    {{"MainW", "y"}, "abc"},    {{"MainW", "w"}, ""},
                      {{"Options", "yes"}, "yes"}, {{"Options", "zero"}, "0"}, {{"Options", "minus"}, "-1"}};

    EXPECT_EQ(ReadInteger(profile, "MainW", "x", 7), 100);
    EXPECT_EQ(ReadInteger(profile, "MainW", "y", 7), 7);
    EXPECT_EQ(ReadInteger(profile, "MainW", "w", 7), 7);
    EXPECT_EQ(ReadInteger(profile, "MainW", "missing", -3), -3);

    EXPECT_TRUE(ReadBool(profile, "Options", "yes", true));
    EXPECT_FALSE(ReadBool(profile, "Options", "yes", false));
    EXPECT_FALSE(ReadBool(profile, "Options", "zero", true));
    EXPECT_TRUE(ReadBool(profile, "Options", "minus", false));
    EXPECT_TRUE(ReadBool(profile, "Options", "missing", true));
}

TEST(ReadInteger, ReadsNoMoreThanTheFirst2047Characters) {
    FakeProfile profile;
    profile.values[{"S", "fits"}] = std::string(kMaxProfileValueLength - 2, ' ') + "42";
    profile.values[{"S", "cut"}] = std::string(kMaxProfileValueLength, '0') + "7";         // the 7 is never seen
    profile.values[{"S", "abc"}] = std::string(kMaxProfileValueLength - 1, ' ') + "5abc";  // cut after the 5

    EXPECT_EQ(ReadInteger(profile, "S", "fits", -1), 42);
    EXPECT_EQ(ReadInteger(profile, "S", "cut", -1), 0);
    EXPECT_EQ(ReadInteger(profile, "S", "abc", -1), 5);
}

Settings Placed(bool winStart, int32_t left, int32_t top) {
    Settings settings;
    settings.winStart = winStart;
    settings.left = left;
    settings.top = top;
    return settings;
}

TEST(Settings, LoadGivesDefaultsThenReadsBackWhatSaveWrote) {
    FakeProfile profile;
    Settings loaded = LoadSettings(profile, 340, 211);
    EXPECT_TRUE(loaded.winStart);
    EXPECT_EQ(loaded.left, 340);
    EXPECT_EQ(loaded.top, 211);

    SaveSettings(profile, Placed(false, -5000, INT32_MIN));
    EXPECT_EQ((profile.values[{"Options", "WinStart"}]), "0");
    EXPECT_EQ((profile.values[{"MainW", "x"}]), "-5000");
    loaded = LoadSettings(profile, 1, 2);
    EXPECT_FALSE(loaded.winStart);
    EXPECT_EQ(loaded.left, -5000);
    EXPECT_EQ(loaded.top, INT32_MIN);

    SaveSettings(profile, Placed(true, 0, 0));
    EXPECT_EQ((profile.values[{"Options", "WinStart"}]), "1");
}

// Whichever value is refused, the others are still written and the user is told once.
TEST(Settings, SaveReportsARefusedWriteWithThePathAfterTryingEveryValue) {
    const FakeProfile::Key keys[] = {
        {"Options", "WinStart"},    {"MainW", "x"},         {"MainW", "y"}, {"Options", "CopyHotKey"},
        {"Options", "PasteHotKey"}, {"Options", "Language"}, {"Options", "KeepEveryCopy"}};
    for (const FakeProfile::Key& refused : keys) {
        FakeProfile profile;
        profile.refused.insert(refused);
        try {
            SaveSettings(profile, Placed(false, 10, 20));
            ADD_FAILURE() << "no error for a refused " << refused.second;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Impossible d'écrire le fichier de paramètres C:\\Tessera\\TESSERA.INI");
        }
        EXPECT_EQ(profile.values.size(), std::size(keys) - 1) << refused.second;
    }
}

TEST(Settings, HotKeysAndLanguageRoundTripAndUnreadableOnesKeepTheirDefaults) {
    using namespace hot_key_mod;
    FakeProfile profile;
    Settings loaded = LoadSettings(profile, 0, 0);
    EXPECT_EQ(loaded.copyHotKey, kDefaultCopyHotKey);
    EXPECT_EQ(loaded.pasteHotKey, kDefaultPasteHotKey);
    EXPECT_EQ(loaded.language, Language::French);
    EXPECT_EQ(LoadLanguage(profile), Language::French);

    profile.values = {{{"Options", "CopyHotKey"}, "ctrl+alt+c"},
                      {{"Options", "PasteHotKey"}, " Shift + Ctrl + V"},
                      {{"Options", "Language"}, " en "}};
    loaded = LoadSettings(profile, 0, 0);
    EXPECT_EQ(loaded.copyHotKey, (HotKey{kCtrl | kAlt, 'C'}));
    EXPECT_EQ(loaded.pasteHotKey, (HotKey{kCtrl | kShift, 'V'}));
    EXPECT_EQ(loaded.language, Language::English);
    EXPECT_EQ(LoadLanguage(profile), Language::English);
    EXPECT_TRUE(loaded.unreadable.empty());
    SaveSettings(profile, loaded);
    EXPECT_EQ((profile.values[{"Options", "CopyHotKey"}]), "Ctrl+Alt+C");
    EXPECT_EQ((profile.values[{"Options", "PasteHotKey"}]), "Ctrl+Shift+V");
    EXPECT_EQ((profile.values[{"Options", "Language"}]), "EN");

    profile.values[{"Options", "CopyHotKey"}] = "Ctrl+Nope";
    profile.values[{"Options", "Language"}] = "Deutsch";
    loaded = LoadSettings(profile, 0, 0);
    EXPECT_EQ(loaded.copyHotKey, kDefaultCopyHotKey);
    EXPECT_EQ(loaded.language, Language::French);
    EXPECT_EQ(loaded.unreadable, (std::vector<std::string>{"CopyHotKey=Ctrl+Nope", "Language=Deutsch"}));
    EXPECT_EQ(LoadLanguage(profile), Language::French);
}

TEST(CentredOrigin, HalvesTheSpareRoomTruncatingTowardZero) {
    EXPECT_EQ(CentredOrigin(1280, 600), 340);
    EXPECT_EQ(CentredOrigin(1024, 601), 211);
    EXPECT_EQ(CentredOrigin(100, 201), -50);  // not -51
}

}  // namespace
}  // namespace tessera
