#include "lang/translatable_component.h"

#include "text/ascii.h"

namespace tessera {
namespace {

bool SameName(std::string_view a, std::string_view b) { return EqualsIgnoringCase(a, b); }

}  // namespace

TranslatableComponent* ComponentTree::FindComponent(std::string_view name) {
    for (std::size_t i = 0; i < ComponentCount(); ++i) {
        TranslatableComponent& c = Component(i);
        if (SameName(c.Name(), name)) return &c;
    }
    return nullptr;
}

}  // namespace tessera
