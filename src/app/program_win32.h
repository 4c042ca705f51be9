#pragma once
// The program's parts, made in their order and wired: the forms, the store and the commands meet
// only here. Each form tells of what happened; this decides who acts on it.
#include <string>

#include "app/about_box_win32.h"
#include "app/main_form_win32.h"
#include "app/program_paths.h"
#include "commands/hot_key_commands_win32.h"
#include "commands/paste_chooser_win32.h"
#include "store/clip_store.h"

namespace tessera {

class RunRegistry;

class Program {
public:
    // Makes the store and the forms (the main window, the About box, the chooser) and the
    // commands over them. Throws StartupAborted when the chooser cannot go on.
    Program(FileSystem& fs, RunRegistry& registry, const ProgramPaths& paths);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Puts the hot keys the settings name in force, names the settings that could not be read,
    // and lets captures in.
    void Start();

    TForm1& MainWindow() noexcept { return form1_; }
    TAboutBox& AboutBox() noexcept { return aboutBox_; }
    TChoix& Chooser() noexcept { return choix_; }
    HotKeyCommandsWin32& Commands() noexcept { return commands_; }

private:
    // The hot keys in force, as the commands could have them, shown in the options window.
    void UseHotKeys(const HotKey& copy, const HotKey& paste);

    ClipStore store_;
    TForm1 form1_;
    TAboutBox aboutBox_;
    TChoix choix_;
    HotKeyCommandsWin32 commands_;
};

}  // namespace tessera
