#pragma once
// A form whose texts come from its translation table, through its language switcher MultiLang1.
#include <memory>
#include <span>

#include "lang/control_set_components_win32.h"
#include "lang/language_dialogs_win32.h"
#include "lang/language_tables.h"
#include "lang/multi_lang.h"
#include "win/form.h"

namespace tessera {

class TranslatedForm : public win::Form {
public:
    // Null until LoadTexts.
    std::unique_ptr<TMultiLang> MultiLang1;

protected:
    // `fontCharSet` is the character set of the form's font as designed.
    TranslatedForm(const win::FormDescription& description, const LanguageTable& table, int fontCharSet);
    ~TranslatedForm() override;

    // Makes the switcher over the form's caption, its controls and `menuItems`, and reads the
    // table into it, which shows the texts of the current language. The form calls it once, when
    // its menus exist.
    void LoadTexts(std::span<const NamedMenuItem> menuItems = {});

private:
    const LanguageTable& table_;
    int fontCharSet_;
    LanguageDialogsWin32 languageDialogs_;
    std::unique_ptr<ControlSetComponents> languageView_;
};

}  // namespace tessera
