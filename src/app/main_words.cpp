#include "app/main_words.h"

namespace tessera {

std::string MainWord(std::string_view id) {
    if (id == "@100") return "Le Presse-papiers interne est vide.";
    if (id == "@101") return "Voulez-vous vraiment vider le Presse-papiers interne ?";
    if (id == "@102") return "Presse-papiers interne vidé.";
    if (id == "@103") return "Texte";
    return std::string(id);
}

}  // namespace tessera
