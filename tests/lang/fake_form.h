#pragma once
// A form made of plain values, for driving the language switcher natively.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "lang/language_dialogs.h"
#include "lang/translatable_component.h"

namespace tessera::testing {

struct FakeComponent : TranslatableComponent {
    std::string name;
    ComponentKind kind = ComponentKind::Default;
    bool hasCaption = true, hasText = false, hasHint = true, hasFont = false;
    std::string caption, text, hint;
    std::vector<std::string> items, columns;
    std::vector<std::vector<std::string>> subItems;
    int itemIndex = -1;
    bool sorted = false;
    ComponentBounds bounds{};
    std::string fontName = "MS Sans Serif";
    int fontCharSet = 0;
    bool throwOnCaption = false;

    std::string Name() const override { return name; }
    ComponentKind Kind() const override { return kind; }
    bool HasCaption() const override { return hasCaption; }
    void SetCaption(const std::string& t) override {
        if (throwOnCaption) throw std::runtime_error("caption");
        caption = t;
    }
    bool HasText() const override { return hasText; }
    void SetText(const std::string& t) override { text = t; }
    bool HasHint() const override { return hasHint; }
    void SetHint(const std::string& t) override { hint = t; }
    std::size_t ItemCount() const override { return items.size(); }
    void SetItem(std::size_t i, const std::string& t) override { items.at(i) = t; }
    int ItemIndex() const override { return itemIndex; }
    void SetItemIndex(int i) override { itemIndex = i; }
    bool Sorted() const override { return sorted; }
    void SetSorted(bool s) override { sorted = s; }
    std::size_t ColumnCount() const override { return columns.size(); }
    void SetColumn(std::size_t i, const std::string& t) override { columns.at(i) = t; }
    std::size_t SubItemCount(std::size_t i) const override { return i < subItems.size() ? subItems[i].size() : 0; }
    void SetSubItem(std::size_t i, std::size_t j, const std::string& t) override { subItems.at(i).at(j) = t; }
    ComponentBounds Bounds() const override { return bounds; }
    void SetBounds(const ComponentBounds& b) override {
        for (std::size_t i = 0; i < 4; ++i)
            if (b[i]) bounds[i] = b[i];
    }
    bool HasFont() const override { return hasFont; }
    std::string FontName() const override { return fontName; }
    int FontCharSet() const override { return fontCharSet; }
    void SetFont(const std::string& n, std::optional<int> cs) override {
        fontName = n;
        if (cs) fontCharSet = *cs;
    }
};

struct FakeForm : ComponentTree {
    FakeComponent form;
    std::vector<std::unique_ptr<FakeComponent>> components;

    FakeForm() {
        form.name = "Form";
        form.hasHint = false;
        form.hasFont = true;
    }
    FakeComponent& Add(std::string name, ComponentKind kind = ComponentKind::Default) {
        components.push_back(std::make_unique<FakeComponent>());
        components.back()->name = std::move(name);
        components.back()->kind = kind;
        return *components.back();
    }
    FakeComponent& operator[](const std::string& name) {
        for (auto& c : components)
            if (c->name == name) return *c;
        throw std::out_of_range(name);
    }
    TranslatableComponent& Form() override { return form; }
    std::size_t ComponentCount() const override { return components.size(); }
    TranslatableComponent& Component(std::size_t i) override { return *components.at(i); }
};

struct FakeDialogs : LanguageDialogs {
    std::vector<std::pair<LanguageBox, std::string>> shown;
    bool answer = true;
    bool Show(LanguageBox box, std::string_view text) override {
        shown.emplace_back(box, std::string(text));
        return answer;
    }
};

}  // namespace tessera::testing
