#include "app/program_win32.h"

#include <string_view>

namespace tessera {

Program::Program(FileSystem& fs, RunRegistry& registry, const ProgramPaths& paths)
    : store_(fs, paths.storeDir, paths.indexFileName),
      form1_(store_, registry, paths),
      aboutBox_(form1_.hwnd()),
      choix_(store_, paths.exeDir, form1_.hwnd()),
      commands_(form1_.hwnd(), choix_, store_, [this](std::string_view id) { return form1_.MultiLang1->GetWord(id); }) {
    HotKeyCommands& commands = commands_.Commands();
    form1_.OnHotKey = [&commands](int id) { commands.OnHotKey(id); };
    form1_.OnClipboardChange = [&commands] { commands.OnClipboardChange(); };
    form1_.OnStoreCleared = [this] { choix_.ClearList(); };
    form1_.OnAbout = [this] { aboutBox_.ShowModal(); };
    form1_.OnHotKeysChosen = [this](const HotKey& copy, const HotKey& paste) { UseHotKeys(copy, paste); };
    choix_.OnClearRequested = [this] { form1_.ViderlePressepapiers1Click(); };
    choix_.OnClosing = [this] { form1_.SaveSettings(); };
    commands_.TellUser = [this](const std::wstring& text) { form1_.TellUser(text); };
    commands_.Language = [this] { return static_cast<int>(form1_.CurrentSettings().language); };
}

void Program::Start() {
    UseHotKeys(form1_.CurrentSettings().copyHotKey, form1_.CurrentSettings().pasteHotKey);
    form1_.ReportUnreadableSettings();
    // Every form exists: captures may come from now on.
    commands_.Commands().CaptureSuppressed = false;
}

void Program::UseHotKeys(const HotKey& copy, const HotKey& paste) {
    HotKeyCommands& commands = commands_.Commands();
    commands.UseHotKeys(copy, paste);
    form1_.ShowHotKeys(commands.HotKeyOf(HotKeyCommands::kCopyHotKey), commands.Active(HotKeyCommands::kCopyHotKey),
                       commands.HotKeyOf(HotKeyCommands::kPasteHotKey), commands.Active(HotKeyCommands::kPasteHotKey));
}

}  // namespace tessera
