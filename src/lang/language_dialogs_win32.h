#pragma once
// The switcher's message boxes shown with the system's message box.
#include "lang/language_dialogs.h"

namespace tessera {

class LanguageDialogsWin32 final : public LanguageDialogs {
public:
    bool Show(LanguageBox box, std::string_view text) override;
};

}  // namespace tessera
