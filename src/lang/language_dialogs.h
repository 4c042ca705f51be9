#pragma once
// The switcher's message boxes, as a port; lines of a text are separated by a carriage return.
#include <string_view>

namespace tessera {

enum class LanguageBox {
    InformationCancel,  // information, a single Cancel button
    InformationOk,      // information, an OK button
    ConfirmationYesNo,  // question, Yes and No
    WarningYesNo,       // warning, Yes and No
};

class LanguageDialogs {
public:
    virtual ~LanguageDialogs() = default;
    // Shows the box and answers true only when the user chose Yes.
    virtual bool Show(LanguageBox box, std::string_view text) = 0;
};

}  // namespace tessera
