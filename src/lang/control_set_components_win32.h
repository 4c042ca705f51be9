#pragma once
// The language switcher's view of a Win32 form: its caption, the controls of its table and its menu items.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "lang/translatable_component.h"
#include "win/control_table.h"
#include "win/unique_handle.h"

namespace tessera {

// A menu item the translation tables can name: its member name and its command id in `menu`.
struct NamedMenuItem {
    const char* name;
    HMENU menu;
    UINT id;
};

class ControlSetComponents final : public ComponentTree {
public:
    // `rows` is the table `controls` was created from; rows whose control does not exist and the
    // parts the form makes itself (rows without a class) are left out. The form's font is the one
    // its controls were made with.
    ControlSetComponents(HWND form, const win::ControlSet& controls, std::span<const win::ControlRow> rows,
                         std::span<const NamedMenuItem> menuItems, std::string fontName, int fontCharSet);
    ~ControlSetComponents() override;

    TranslatableComponent& Form() override;
    std::size_t ComponentCount() const override { return components_.size(); }
    TranslatableComponent& Component(std::size_t index) override { return *components_.at(index); }

    // The tool tip window that shows the controls' hints (null until a hint is set).
    HWND ToolTips() const noexcept { return tips_.get(); }

private:
    class FormComponent;
    class ControlComponent;
    class MenuItemComponent;

    HWND EnsureToolTips();

    HWND form_;
    std::unique_ptr<FormComponent> formComponent_;
    std::vector<std::unique_ptr<TranslatableComponent>> components_;
    win::unique_hwnd tips_;
};

}  // namespace tessera
