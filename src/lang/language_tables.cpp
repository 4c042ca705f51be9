#include "lang/language_tables.h"

namespace tessera {
namespace {

// The texts are UTF-8 (the compiler keeps this file's encoding); the Win32 side converts them
// to UTF-16 for the window functions, so the accents show whatever the user's code page.
// Rows: key, French (language 0), English (language 1). Order matters: continuation and hint
// rows belong to the key row above them. One row of a table per line:
// clang-format off
constexpr const char* kMainWords[] = {
    "Label1", "Raccourci pour \"Coller\" : Ctrl + Espace", "\"Paste\" shortcut : Ctrl + Space",
    "Label2", "Contenu du Presse-papiers de Windows", "Windows Clipboard content",
    "Label4", "Raccourci pour \"Copier\" : Ctrl + Q", "\"Copy\" shortcut : Ctrl + Q",
    "SpeedButton1", "Cacher", "Hide",
    "SpeedButton3", "A propos...", "About...",
    "WinStart", "Démarrer avec Windows", "Start with Windows",
    "Button1", "Vider le Presse-papiers de Tessera...", "Clear Tessera internal Clipboard",
    "Showmainscreen2", "&Options...", "&Options...",
    "ViderlePressepapiers1", "&Vider le Presse-papiers...", "&Clear the Clipboard...",
    "Close2", "&Quitter", "&Quit",
    "@100", "Le Presse-papiers interne est vide.", "The internal Clipboard is empty.",
    "@101", "Voulez-vous vraiment vider le Presse-papiers interne ?", "Do you really want to clear the internal ClipBoard ?",
    "@102", "Presse-papiers interne vidé.", "The internal ClipBoard is now empty.",
    "@103", "Texte", "Text",
    "@104", "Ces fichiers n'ont pas pu être supprimés :", "These files could not be deleted:",
    "@105", "Le raccourci %s est déjà pris par un autre programme : choisissez-en un autre dans les options de Tessera.", "The shortcut %s is already taken by another program: choose another one in Tessera's options.",
    "@106", " (inactif)", " (not active)",
    "@107", "Valeurs illisibles dans les réglages, remplacées par leur valeur par défaut :", "Unreadable settings, replaced by their default values:",
    "@108", "Copier et Coller ne peuvent avoir le même raccourci (%s) : chacun a le sien, à changer dans les options de Tessera.", "Copy and Paste cannot share one shortcut (%s): each has its own, to change in Tessera's options.",
    "@109", "Impossible de créer le fichier ", "Cannot create the file ",
    "@110", "Impossible de créer le dossier ", "Cannot create the folder ",
    "@111", "Tessera est déjà lancé : son icône est dans la zone de notification.", "Tessera is already running: its icon is in the notification area.",
    "@112", "L'ordinateur %s utilise déjà ce dossier de Tessera. Quittez Tessera sur cet ordinateur, ou copiez Tessera dans un autre dossier.", "The computer %s already uses this Tessera folder. Quit Tessera on that computer, or copy Tessera to another folder.",
    "CopyKeyLabel", "Copier :", "Copy:",
    "PasteKeyLabel", "Coller :", "Paste:",
    "LanguageLabel", "Langue :", "Language:",
    "KeepEveryCopy", "Garder chaque copie", "Keep every copy",
    "Garderchaquecopie1", "&Garder chaque copie", "&Keep every copy",
    "@113", " - garde chaque copie", " - keeps every copy",
};
constexpr const char* kMainCharSets[] = {"MS Sans Serif,0", "MS Sans Serif,0"};

constexpr const char* kChooserWords[] = {
    "%Form%", "Coller...", "Paste...",
    "Button1", "Vider le Presse-papiers de Tessera...", "Clear the internal ClipBoard...",
    "Button2", "Coller", "Paste",
    "Button3", "Annuler", "Cancel",
    "Edit1", "", "",
    "\".Hint", "Renommez ici l'élément à coller", "Rename this item here",
    "Edit2", "", "",
    "\".Hint", "Rechercher", "Search",
    "Label1", "Recherche en cours…", "Searching…",
    "Supprimer1", "Supprimer", "Delete",
    // "@100", the program's directory and "@101" make one message; "@102" follows a file name.
    "@100", "Répertoire \"", "Folder \"",
    "@101", "Clipboard\" introuvable.", "Clipboard\" missing.",
    "@102", " introuvable.", " missing.",
    "@103", "Presse-papiers interne vidé.", "The internal ClipBoard is now empty.",
};
constexpr const char* kChooserCharSets[] = {"MS Sans Serif,1", "MS Sans Serif,1"};

constexpr const char* kAboutWords[] = {
    "%Form%", "A propos", "About",
    "Copyright", "Copyright © 2026 l'équipe Tessera", "Copyright © 2026 the Tessera team",
    "Comments", "pour Windows 95/98/ME/2000/XP", "for Windows 95/98/ME/2000/XP",
    "UrlLabel1", "Site web", "Web site",
};
constexpr const char* kAboutCharSets[] = {"MS Sans Serif,1", "MS Sans Serif,1"};
// clang-format on

// The main window and the About box were saved with language 1 active, the chooser with 0.
const LanguageTable kMain{kMainWords, kMainCharSets, 1};
const LanguageTable kChooser{kChooserWords, kChooserCharSets, 0};
const LanguageTable kAbout{kAboutWords, kAboutCharSets, 1};

}  // namespace

const LanguageTable& MainFormTable() { return kMain; }

const LanguageTable& ChooserTable() { return kChooser; }

const LanguageTable& AboutBoxTable() { return kAbout; }

// Rows hold a key and one text per language; continuation and hint rows have keys of their own.
std::string TableWord(const LanguageTable& table, std::string_view id, int language) {
    constexpr std::size_t kRow = 3;
    for (std::size_t r = 0; r + kRow <= table.words.size(); r += kRow)
        if (table.words[r] == id) return table.words[r + 1 + (language == 1 ? 1 : 0)];
    return std::string(id);
}

void LoadStoredData(TMultiLang& switcher, const LanguageTable& table) {
    switcher.BeginLoading();
    switcher.SetLanguages(2);
    // Only a value other than the default is stored; reading it switches, with Words still empty.
    if (table.savedActiveLanguage != 0) switcher.SetActiveLanguage(table.savedActiveLanguage);
    switcher.Words.assign(table.words.begin(), table.words.end());
    switcher.CharSets.assign(table.charSets.begin(), table.charSets.end());
    switcher.Loaded();
}

}  // namespace tessera
