#pragma once
// The free texts of each form's translation table, by id: the same id names another text on
// each form. The French text the program shows is in the comment.
#include <string_view>

namespace tessera {

// The main window's table.
struct MainWords {
    static constexpr std::string_view kStoreEmpty = "@100";  // "Le Presse-papiers interne est vide."
    static constexpr std::string_view kConfirmClear =
        "@101";  // "Voulez-vous vraiment vider le Presse-papiers interne ?"
    static constexpr std::string_view kStoreCleared = "@102";  // "Presse-papiers interne vidé."
    static constexpr std::string_view kTextPrefix = "@103";    // "Texte", the name of text items
    static constexpr std::string_view kNotDeleted = "@104";    // "Ces fichiers n'ont pas pu être supprimés :"
    static constexpr std::string_view kHotKeyTaken = "@105";   // "Le raccourci %s est déjà pris par un autre..."
    static constexpr std::string_view kInactive = "@106";      // " (inactif)", after a shortcut not in force
    static constexpr std::string_view kBadSettings = "@107";   // "Tessera.INI : valeur illisible, ...", then the keys
    static constexpr std::string_view kSameHotKeys = "@108";   // "Copier et Coller ne peuvent avoir le même..."
    static constexpr std::string_view kCannotCreateFile = "@109";  // "Impossible de créer le fichier ", then the path
    static constexpr std::string_view kCannotCreateFolder = "@110";  // "Impossible de créer le dossier ", then the path
    static constexpr std::string_view kAlreadyRunning = "@111";      // "Tessera est déjà lancé ..."
    static constexpr std::string_view kUsedElsewhere = "@112";       // "L'ordinateur %s utilise déjà ce dossier..."
    static constexpr std::string_view kKeepsEveryCopy = "@113";      // " - garde chaque copie", after the tray tip
};

// The chooser's table.
struct ChooserWords {
    static constexpr std::string_view kFolderMissingBefore = "@100";  // "Répertoire \"", then the folder
    static constexpr std::string_view kFolderMissingAfter = "@101";   // "Clipboard\" introuvable."
    static constexpr std::string_view kMissingFile = "@102";          // " introuvable.", after a file name
    static constexpr std::string_view kStoreEmptied = "@103";         // "Presse-papiers interne vidé."
};

}  // namespace tessera
