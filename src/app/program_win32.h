#pragma once
// The program's parts, made in their order and wired: the forms, the store and the commands meet
// only here. Each form tells of what happened; this decides who acts on it. The program owns the
// store's life: it claims the folder, loads it, clears it and sees it saved.
#include <memory>
#include <string>

#include "app/about_box_win32.h"
#include "app/main_form_win32.h"
#include "app/program_paths.h"
#include "app/settings.h"
#include "commands/hot_key_commands_win32.h"
#include "commands/paste_chooser_win32.h"
#include "search/disk_item_files.h"
#include "search/item_search.h"
#include "store/clip_store.h"

namespace tessera {

class RunRegistry;

class Program {
public:
    // Makes the store over `fs` (nothing is read or written yet).
    Program(FileSystem& fs, RunRegistry& registry, const ProgramPaths& paths);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    // Claims the store for this process: its lock taken, its folder made. False when the program
    // must end: another Tessera uses the folder (it was brought forward, or the user was told) or
    // the folder cannot be had (the user was told).
    bool ClaimStore();
    // Loads the store and makes the forms (the main window, the About box, the chooser) and the
    // commands over them.
    void MakeForms();
    // Puts the hot keys the settings name in force, names the settings that could not be read,
    // lets captures in, and starts reading the items' texts for the search in the background.
    void Start();

    TForm1& MainWindow() noexcept { return *form1_; }
    TAboutBox& AboutBox() noexcept { return *aboutBox_; }
    TChoix& Chooser() noexcept { return *choix_; }
    ItemSearch& Search() noexcept { return *search_; }
    HotKeyCommandsWin32& Commands() noexcept { return *commands_; }

private:
    // The hot keys in force, as the commands could have them, shown in the options window.
    void UseHotKeys(const HotKey& copy, const HotKey& paste);
    // The clear command: asks, deletes every item, and says what it did.
    void ClearStore();
    // Waits until the store is on disk; says so when it cannot be written.
    void SaveStore();
    void ReportStoreWriteFailure();
    // The chooser's size in the settings file, as the user left it.
    void SaveChooserSize();
    // Another Tessera holds the store: brings it forward, or says why this one ends.
    void TellStoreInUse(const ClipStore::Claim& claim);
    int LanguageIndex() const;

    RunRegistry& registry_;
    ProgramPaths paths_;
    Language language_ = Language::French;  // as the settings say, for what is said before the forms exist
    ClipStore store_;
    DiskItemFiles itemFiles_;
    std::unique_ptr<ItemSearch> search_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TAboutBox> aboutBox_;
    std::unique_ptr<TChoix> choix_;
    std::unique_ptr<HotKeyCommandsWin32> commands_;
};

}  // namespace tessera
