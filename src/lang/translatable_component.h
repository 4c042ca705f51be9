#pragma once
// The port through which the language switcher reads and rewrites a form and its components.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

// Which rule of the translation walk a component gets (the toolkit's control kinds, grouped).
enum class ComponentKind {
    Default,     // Caption, then Text, where the component has them (labels, buttons, check boxes, links, edits)
    MenuItem,    // Caption from the key row
    OwnedForm,   // a form owned by the form: Caption from the key row
    ItemList,    // list box, memo lines, tabs, notebook pages: the items by the item list rule
    ComboBox,    // the item list rule, the selection kept
    RadioGroup,  // Caption, then the items from the continuation rows
    StatusBar,   // Text (the simple text), then one panel per continuation row
    Collection,  // header sections, tree nodes: one text per row while rows follow
    ListView,    // column captions, then each item's caption and sub-items
};

// Left, Top, Width, Height; an empty slot is a property the component lacks.
using ComponentBounds = std::array<std::optional<int>, 4>;

// One component of a form, or the form itself. Absent properties answer false to Has* and
// ignore their setters, so an adapter overrides only what its control has.
class TranslatableComponent {
public:
    virtual ~TranslatableComponent() = default;

    virtual std::string Name() const = 0;
    virtual ComponentKind Kind() const { return ComponentKind::Default; }

    virtual bool HasCaption() const { return false; }
    virtual void SetCaption(const std::string&) {}
    virtual bool HasText() const { return false; }
    virtual void SetText(const std::string&) {}
    virtual bool HasHint() const { return false; }
    virtual void SetHint(const std::string&) {}

    // Items of the list kinds (lines, tabs, panels, sections, tree nodes, list view items).
    virtual std::size_t ItemCount() const { return 0; }
    virtual void SetItem(std::size_t, const std::string&) {}
    virtual int ItemIndex() const { return -1; }
    virtual void SetItemIndex(int) {}
    virtual bool Sorted() const { return false; }
    virtual void SetSorted(bool) {}
    // List views: column captions and each item's sub-items.
    virtual std::size_t ColumnCount() const { return 0; }
    virtual void SetColumn(std::size_t, const std::string&) {}
    virtual std::size_t SubItemCount(std::size_t) const { return 0; }
    virtual void SetSubItem(std::size_t, std::size_t, const std::string&) {}

    virtual ComponentBounds Bounds() const { return {}; }
    virtual void SetBounds(const ComponentBounds&) {}

    // The form's font (only the owner form has one here).
    virtual bool HasFont() const { return false; }
    virtual std::string FontName() const { return {}; }
    virtual int FontCharSet() const { return 0; }
    virtual void SetFont(const std::string&, std::optional<int>) {}
};

// A form as the switcher sees it: itself and the components it owns, in its component order.
class ComponentTree {
public:
    virtual ~ComponentTree() = default;

    virtual TranslatableComponent& Form() = 0;
    virtual std::size_t ComponentCount() const = 0;
    virtual TranslatableComponent& Component(std::size_t index) = 0;
    // True while a form designer edits the form (never in the program's own run).
    virtual bool Designing() const { return false; }

    // The owned component named `name`, letter case ignored; null when there is none.
    virtual TranslatableComponent* FindComponent(std::string_view name);
};

}  // namespace tessera
