#include "lang/translated_form_win32.h"

namespace tessera {

TranslatedForm::TranslatedForm(const win::FormDescription& description, const LanguageTable& table, int fontCharSet)
    : win::Form(description), table_(table), fontCharSet_(fontCharSet) {}

// The switcher goes before the view and the controls it reaches.
TranslatedForm::~TranslatedForm() { MultiLang1.reset(); }

void TranslatedForm::LoadTexts(std::span<const NamedMenuItem> menuItems) {
    languageView_ =
        std::make_unique<ControlSetComponents>(hwnd(), Controls(), Rows(), menuItems, "MS Sans Serif", fontCharSet_);
    MultiLang1 = std::make_unique<TMultiLang>(*languageView_, languageDialogs_);
    LoadStoredData(*MultiLang1, table_);
}

}  // namespace tessera
