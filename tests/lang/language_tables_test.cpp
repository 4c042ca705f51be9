#include "lang/language_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "fake_form.h"

namespace tessera {
namespace {

using testing::FakeComponent;
using testing::FakeDialogs;
using testing::FakeForm;

// Each window shows the current language once loaded, whichever language its table was saved
// with, and every row of its table reaches its control, its hint or GetWord in both languages:
// a row that lacks a language would shift every text after it.
TEST(LanguageTables, EveryRowReachesItsControlInBothLanguages) {
    for (const auto& [name, table] :
         {std::pair{"main", &MainFormTable()}, {"chooser", &ChooserTable()}, {"about", &AboutBoxTable()}}) {
        const auto& words = table->words;
        ASSERT_EQ(words.size() % 3, 0u);
        FakeForm form;
        for (std::size_t r = 0; r < words.size(); r += 3)
            if (words[r][0] != '@' && words[r][0] != '"' && words[r] != std::string("%Form%")) form.Add(words[r]);
        FakeDialogs dialogs;
        TMultiLang ml(form, dialogs);
        LoadStoredData(ml, *table);
        for (const int language : {0, 1}) {
            SCOPED_TRACE(std::string(name) + " in language " + std::to_string(language));
            if (language == 1) ml.SetActiveLanguage(1);
            const FakeComponent* control = nullptr;
            for (std::size_t r = 0; r < words.size(); r += 3) {
                const std::string key = words[r];
                const std::string text = words[r + 1 + static_cast<std::size_t>(language)];
                if (key[0] == '@') {
                    EXPECT_EQ(ml.GetWord(key), text);
                } else if (key == "%Form%") {
                    EXPECT_EQ(form.form.caption, text);
                } else if (key == "\".Hint") {
                    ASSERT_TRUE(control);
                    EXPECT_EQ(control->hint, text) << control->name;
                } else {
                    control = &form[key];
                    EXPECT_EQ(control->caption, text) << key;
                }
            }
        }
        EXPECT_TRUE(dialogs.shown.empty());
    }
}

// Text items of older stores are named with the French word; the texts are UTF-8 whatever the
// code page of the machine that built the program.
TEST(LanguageTables, TextItemsKeepTheirNameAndAccentsAreUtf8) {
    FakeForm form;
    form.Add("WinStart");
    FakeDialogs dialogs;
    TMultiLang ml(form, dialogs);
    LoadStoredData(ml, MainFormTable());
    EXPECT_EQ(ml.GetWord("@103"), "Texte");
    EXPECT_EQ(form["WinStart"].caption, "D\xC3\xA9marrer avec Windows");
}

}  // namespace
}  // namespace tessera
