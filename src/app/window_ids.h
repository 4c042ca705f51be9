#pragma once
// The command ids of the main window that other programs may post to it as WM_COMMAND: its
// tray menu's items and its About button. The end-to-end probe prints them for the scenarios.
// (The hot keys' ids are HotKeyCommands::kPasteHotKey and kCopyHotKey, in the commands' core.)
namespace tessera {

inline constexpr int kShowOptionsCommand = 2001;  // "&Options..."
inline constexpr int kAnimateTrayCommand = 2002;
inline constexpr int kClearStoreCommand = 2003;     // "&Vider le Presse-papiers..."
inline constexpr int kQuitCommand = 2004;           // "&Quitter"
inline constexpr int kKeepEveryCopyCommand = 2005;  // "&Garder chaque copie"
inline constexpr int kAboutCommand = 1004;          // the "A propos..." button

}  // namespace tessera
