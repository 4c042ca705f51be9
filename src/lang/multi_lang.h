#pragma once
// TMultiLang: the switcher the forms carry, with the per-kind rules of the translation walk.
#include "lang/multi_lang_base.h"

namespace tessera {

class TMultiLang : public TBaseMultiLang {
public:
    using TBaseMultiLang::TBaseMultiLang;

protected:
    void TranslateComponent(TranslatableComponent& component, std::size_t& cursor) override;

private:
    template <typename SetItem>
    void ItemListRule(std::size_t& cursor, std::size_t count, SetItem set);
    template <typename SetItem>
    void CollectionRule(std::size_t& cursor, std::size_t count, SetItem set);
    void ListViewRule(TranslatableComponent& component, std::size_t& cursor);
};

}  // namespace tessera
