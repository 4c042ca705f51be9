#pragma once
// TAboutBox: the modal box that names the program, its version and its web site.
#include <windows.h>

#include <memory>

#include "app/url_label_win32.h"
#include "lang/translated_form_win32.h"
#include "win/unique_handle.h"

namespace tessera {

class TAboutBox final : public TranslatedForm {
public:
    // Creates the hidden box (owned by `owner`) and runs FormCreate. ShowModal runs it: Ok from
    // the OK button or Enter, Cancel from Escape or the close box.
    explicit TAboutBox(HWND owner = nullptr);
    ~TAboutBox() override;

    std::unique_ptr<TUrlLabel> UrlLabel1;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ModalShowing() override;
    void DpiChanged() override { LoadProgramIcon(); }

private:
    void FormCreate();
    void LoadProgramIcon();
    void DrawProgramIcon(const DRAWITEMSTRUCT& item) const;

    win::unique_hicon programIcon_;
};

}  // namespace tessera
