#include "lang/translatable_component.h"

#include <algorithm>

namespace tessera {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

TranslatableComponent* ComponentTree::FindComponent(std::string_view name) {
    for (std::size_t i = 0; i < ComponentCount(); ++i) {
        TranslatableComponent& c = Component(i);
        if (SameName(c.Name(), name)) return &c;
    }
    return nullptr;
}

}  // namespace tessera
