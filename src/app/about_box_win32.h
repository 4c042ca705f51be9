#pragma once
// TAboutBox: the modal box that names the program, its version and its web site.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/url_label_win32.h"
#include "lang/control_set_components_win32.h"
#include "lang/language_dialogs_win32.h"
#include "lang/multi_lang.h"
#include "win/control_table.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera {

class TAboutBox final : public win::Window {
public:
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    // Creates the hidden box (owned by `owner`) and runs FormCreate.
    explicit TAboutBox(HWND owner = nullptr);
    ~TAboutBox() override;

    std::unique_ptr<TUrlLabel> UrlLabel1;
    std::unique_ptr<TMultiLang> MultiLang1;

    // Shows the box and runs it until it closes; returns its modal result.
    int ShowModal();
    HWND Control(std::string_view name) const { return controls_[name]; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void DrawProgramIcon(const DRAWITEMSTRUCT& item) const;

    win::ControlSet controls_;
    win::unique_hicon programIcon_;
    LanguageDialogsWin32 languageDialogs_;
    std::unique_ptr<ControlSetComponents> languageView_;
    std::optional<int> modalResult_;
};

}  // namespace tessera
