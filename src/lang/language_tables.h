#pragma once
// The translation tables of the main window, the paste chooser and the About box (UTF-8).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lang/multi_lang.h"

namespace tessera {

// A switcher's stored data: its Words and CharSets, and the ActiveLanguage the form was saved with.
struct LanguageTable {
    std::span<const char* const> words;
    std::span<const char* const> charSets;
    uint8_t savedActiveLanguage;
};

const LanguageTable& MainFormTable();  // TForm1
const LanguageTable& ChooserTable();   // TChoix
const LanguageTable& AboutBoxTable();  // TAboutBox

// The text of `id` in `language` (0 French, 1 English), for what is said before the forms exist.
std::string TableWord(const LanguageTable& table, std::string_view id, int language);

// Reads `table` into `switcher` as a form's stored data is read (Languages, ActiveLanguage,
// Words, CharSets), then calls Loaded, which switches to the current language.
void LoadStoredData(TMultiLang& switcher, const LanguageTable& table);

}  // namespace tessera
