#include "app/about_box_win32.h"

#include <array>

#include "lang/language_tables.h"
#include "win/application.h"

namespace tessera {
namespace {

constexpr SIZE kClientSize{298, 196};
// The font of the box as designed: MS Sans Serif, default character set.
constexpr int kFontCharSet = 1;
constexpr const char* kSiteAddress = "https://tessera.example.org/";

enum ControlId : int {
    kProgramIcon = 4001,
    kProductName,
    kVersion,
    kCopyright,
    kComments,
    kUrlLabel1,
};

// The 64-bit build is the same program built for 64-bit Windows, and says so: the number in the
// version line names the build the user runs.
constexpr const char* kVersionText = sizeof(void*) == 8 ? "Version 1.0 - 64 bits" : "Version 1.0 - 32 bits";

using win::ControlRow;
using win::FontWeight;

const std::array<ControlRow, 8> kControls{{
    {"OKButton", L"BUTTON", IDOK, 111, 162, 75, 25, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, "OK"},
    // Drawn by the box, stretched to the control from the icon's nearest image.
    {"ProgramIcon", L"STATIC", kProgramIcon, 16, 16, 65, 57, WS_VISIBLE | SS_OWNERDRAW, 0, -1, ""},
    {"ProductName", L"STATIC", kProductName, 88, 16, 185, 13, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, -1, "",
     FontWeight::Bold},
    {"Version", L"STATIC", kVersion, 88, 40, 185, 13, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, -1, kVersionText},
    {"Copyright", L"STATIC", kCopyright, 16, 80, 257, 13, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, -1,
     "Copyright © 2026 l'équipe Tessera"},
    // A plain left-aligned static wraps its words at its width.
    {"Comments", L"STATIC", kComments, 16, 100, 249, 26, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, -1,
     "pour Windows 95/98/ME/2000/XP"},
    {"UrlLabel1", L"STATIC", kUrlLabel1, 16, 130, 80, 13, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, -1,
     "Site web"},
    // Holds every control but OK. It is painted by the box itself: a sibling control under the
    // labels would paint over them.
    {"Panel1", nullptr, 0, 8, 8, 281, 145, 0, 0, -1, ""},
}};

}  // namespace

TAboutBox::TAboutBox(HWND owner)
    : TranslatedForm({L"TAboutBox", kClientSize, win::kDialogStyle, win::kDialogExStyle, kControls, owner},
                     AboutBoxTable(), kFontCharSet) {
    UrlLabel1 = std::make_unique<TUrlLabel>(Control("UrlLabel1"));
    UrlLabel1->URL = kSiteAddress;
    LoadTexts();
    FormCreate();
}

// The link goes before the control it reaches.
TAboutBox::~TAboutBox() { UrlLabel1.reset(); }

// The application's icon and title, as the rest of the program shows them.
void TAboutBox::FormCreate() {
    LoadProgramIcon();
    ::SetWindowTextW(Control("ProductName"), win::Application::Instance().Title().c_str());
}

// Drawn from the icon's image nearest to the control's size, which grows with the DPI.
void TAboutBox::LoadProgramIcon() {
    RECT box{};
    ::GetClientRect(Control("ProgramIcon"), &box);
    programIcon_.reset(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, box.right, box.bottom, LR_DEFAULTCOLOR)));
    ::InvalidateRect(Control("ProgramIcon"), nullptr, TRUE);
}

void TAboutBox::DrawProgramIcon(const DRAWITEMSTRUCT& item) const {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    if (programIcon_)
        ::DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, programIcon_.get(),
                     item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, 0, nullptr, DI_NORMAL);
}

void TAboutBox::ModalShowing() {
    ::SetForegroundWindow(hwnd());
    ::SetFocus(Control("OKButton"));
}

LRESULT TAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // OK, or Enter anywhere in the box; Escape cancels.
        if (LOWORD(wParam) == IDOK) EndModal(win::ModalResult::Ok);
        if (LOWORD(wParam) == IDCANCEL) EndModal(win::ModalResult::Cancel);
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == kProgramIcon) {
            DrawProgramIcon(item);
            return TRUE;
        }
        break;
    }
    case WM_PAINT: {
        win::paint_scope paint(hwnd());
        RECT panel = Bounds("Panel1");
        ::DrawEdge(paint.dc(), &panel, BDR_RAISEDINNER | BDR_SUNKENOUTER, BF_RECT);
        return 0;
    }
    default: break;
    }
    return TranslatedForm::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera
