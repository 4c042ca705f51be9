// Every form at the display's DPI. ctest runs this program once per DPI (96, 120, 144, 192),
// each time with Wine restarted at that DPI (tests/support/at_dpi.sh): in each language, every
// control that shows a text is as large as the text needs in the control's own font, and no
// control sticks out of its form.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../support/window_facts_win32.h"
#include "app/about_box_win32.h"
#include "app/main_form_win32.h"
#include "app/program_paths.h"
#include "app/splash_win32.h"
#include "app/start_with_windows.h"
#include "commands/paste_chooser_win32.h"
#include "lang/multi_lang_base.h"
#include "store/clip_store.h"
#include "store/disk_file_system.h"
#include "win/application.h"
#include "win/dpi.h"
#include "win/form.h"
#include "win/text.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

// The languages whose texts must fit: French, which the program shows, and English.
constexpr std::uint8_t kLanguages[] = {0, 1};

class NoRegistry : public RunRegistry {
public:
    bool SetRunValue(RunScope, const std::string&, const std::string&) override { return true; }
    bool DeleteRunValue(RunScope, const std::string&) override { return true; }
};

using testing::ClassOf;
using testing::ModulePath;
using testing::TextOf;

RECT RectInParent(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// How a control shows its text, as far as its size is concerned.
struct TextLayout {
    bool shown = false;     // labels, buttons, check boxes; not edit boxes, lists or pictures
    bool wraps = false;     // words wrap at the control's width
    bool noPrefix = false;  // "&" is shown as it is
    int chrome = 0;         // width the control keeps for itself: a button's edges, a check box's box
};

TextLayout LayoutOf(HWND control, int dpi) {
    const std::wstring kind = ClassOf(control);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const int edge = win::SystemMetricForDpi(SM_CXEDGE, dpi);
    TextLayout layout;
    if (::lstrcmpiW(kind.c_str(), L"STATIC") == 0) {
        const LONG type = style & SS_TYPEMASK;
        layout.shown =
            type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        layout.wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        layout.noPrefix = (style & SS_NOPREFIX) != 0;
    } else if (::lstrcmpiW(kind.c_str(), L"BUTTON") == 0) {
        const LONG type = style & BS_TYPEMASK;
        const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
                         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        layout.shown = type != BS_OWNERDRAW && type != BS_GROUPBOX;
        layout.wraps = (style & BS_MULTILINE) != 0;
        layout.chrome = box ? win::SystemMetricForDpi(SM_CXMENUCHECK, dpi) + 2 * edge : 2 * edge;
    }
    return layout;
}

// What is wrong with `form`, laid out for `dpi`, one line per fault.
std::vector<std::string> Problems(HWND form, int dpi, const std::string& formName) {
    std::vector<std::string> problems;
    RECT client{};
    ::GetClientRect(form, &client);
    for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const std::string name =
            formName + " " + win::WideToAnsi(ClassOf(c)) + " \"" + win::WideToAnsi(TextOf(c)) + "\"";
        const RECT r = RectInParent(c);
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
            problems.push_back(name + " sticks out of the form's " + std::to_string(client.right) + " x " +
                               std::to_string(client.bottom) + " client area");

        const win::window_dc dc(c);
        const win::select_object font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc.get(), &metrics);
        // Wine draws "MS Sans Serif" with a face of taller lines: the designed heights lose only leading.
        const int lineHeight = metrics.tmHeight - metrics.tmInternalLeading;
        const LONG style = ::GetWindowLongW(c, GWL_STYLE);
        if (::lstrcmpiW(ClassOf(c).c_str(), L"LISTBOX") == 0 && (style & LBS_OWNERDRAWFIXED) &&
            ::SendMessageW(c, LB_GETITEMHEIGHT, 0, 0) < lineHeight)
            problems.push_back(name + "'s lines are lower than its font");

        const TextLayout layout = LayoutOf(c, dpi);
        const std::wstring text = TextOf(c);
        if (!layout.shown || text.empty()) continue;
        RECT box{};
        ::GetClientRect(c, &box);
        const int room = box.right - layout.chrome;
        RECT needed{0, 0, layout.wraps ? room : 0, 0};
        ::DrawTextW(dc.get(), text.c_str(), -1, &needed,
                    DT_CALCRECT | (layout.wraps ? DT_WORDBREAK : DT_SINGLELINE) | (layout.noPrefix ? DT_NOPREFIX : 0));
        if (needed.right > room || needed.bottom - metrics.tmInternalLeading > box.bottom)
            problems.push_back(name + " needs " + std::to_string(needed.right + layout.chrome) + " x " +
                               std::to_string(needed.bottom - metrics.tmInternalLeading) + ", has " +
                               std::to_string(box.right) + " x " + std::to_string(box.bottom));
    }
    return problems;
}

class FormsAtDpi : public ::testing::Test {
protected:
    void SetUp() override {
        win::Application::Instance().SetTitle(L"Tessera");
        SetAllLanguages(0);
    }
    void TearDown() override {
        SetAllLanguages(0);
        ::DeleteFileA(paths.iniFileName.c_str());
    }

    DiskFileSystem fs;
    const ProgramPaths paths = ComputeProgramPaths(ModulePath());
    ClipStore store{fs, paths.storeDir, paths.indexFileName};
    NoRegistry registry;
};

// Without it a DPI that did not take would let every check below pass at 96 DPI.
TEST_F(FormsAtDpi, RunsAtTheDpiAsked) {
    const char* asked = std::getenv("TESSERA_DPI");
    ASSERT_NE(asked, nullptr) << "run by tests/support/at_dpi.sh";
    EXPECT_EQ(win::SystemDpi(), std::atoi(asked));
}

// Every form, checked in every language.
struct Forms {
    TForm1 form1;
    TAboutBox aboutBox;
    TChoix choix;
    TLogo logo;

    Forms(ClipStore& store, RunRegistry& registry, const ProgramPaths& paths)
        : form1(registry, paths), aboutBox(form1.hwnd()), choix(store, paths.exeDir, form1.hwnd()) {}

    std::vector<win::Form*> All() { return {&form1, &aboutBox, &choix, &logo}; }

    std::string ProblemsInEveryLanguage() {
        std::string problems;
        for (const std::uint8_t language : kLanguages) {
            form1.UseLanguage(static_cast<Language>(language));
            // The longest shortcuts the labels show: every modifier, a long key name, not active.
            const HotKey longest{hot_key_mod::kCtrl | hot_key_mod::kAlt | hot_key_mod::kShift | hot_key_mod::kWin,
                                 0x22 /* PageDown */};
            form1.ShowHotKeys(longest, false, longest, false);
            for (win::Form* form : All()) {
                const std::string name =
                    win::WideToAnsi(ClassOf(form->hwnd())) + (language == 0 ? " (French)" : " (English)");
                for (const std::string& p : Problems(form->hwnd(), form->Dpi(), name)) problems += "\n  " + p;
            }
        }
        form1.UseLanguage(Language::French);
        return problems;
    }
};

TEST_F(FormsAtDpi, EveryTextFitsItsControlAndEveryControlItsForm) {
    Forms forms(store, registry, paths);
    const std::string problems = forms.ProblemsInEveryLanguage();
    EXPECT_TRUE(problems.empty()) << "at " << win::SystemDpi() << " DPI:" << problems;
}

// Dragged to a monitor of another DPI (here 96 DPI from the others, 144 from 96), each form
// rescales to the size it asks Windows for and is as whole as one made there; so is the chooser
// the user made larger.
TEST_F(FormsAtDpi, AFormMovedToAnotherDpiIsAsWholeAsOneMadeThere) {
    const int dpi = win::SystemDpi() == 96 ? 144 : 96;
    Forms forms(store, registry, paths);
    forms.choix.SetUserSize({600, 380});
    for (win::Form* form : forms.All()) {
        SIZE size{};
        ::SendMessageW(form->hwnd(), 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&size));
        RECT suggested{0, 0, size.cx, size.cy};
        ::SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(form->Dpi(), dpi);
    }
    const std::string problems = forms.ProblemsInEveryLanguage();
    EXPECT_TRUE(problems.empty()) << "moved to " << dpi << " DPI:" << problems;
}

}  // namespace
}  // namespace tessera
