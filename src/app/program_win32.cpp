#include "app/program_win32.h"

#include <string_view>
#include <vector>

#include "app/profile_file_win32.h"
#include "app/running_program_win32.h"
#include "lang/language_tables.h"
#include "lang/word_ids.h"
#include "win/application.h"
#include "win/clipboard.h"
#include "win/message_boxes.h"
#include "win/text.h"

namespace tessera {

Program::Program(FileSystem& fs, RunRegistry& registry, const ProgramPaths& paths)
    : registry_(registry),
      paths_(paths),
      store_(fs, paths.storeDir, paths.indexFileName, IndexWriter::Mode::InBackground),
      itemFiles_(paths.storeDir) {}

// The search's build stops first: it tells the chooser of its texts. The commands and the forms
// go before the store, which then writes what is still to be written.
Program::~Program() {
    commands_.reset();
    search_.reset();
    choix_.reset();
    aboutBox_.reset();
    form1_.reset();
}

int Program::LanguageIndex() const {
    return form1_ ? static_cast<int>(form1_->CurrentSettings().language) : static_cast<int>(language_);
}

bool Program::ClaimStore() {
    ProfileFile settings(paths_.iniFileName);
    language_ = LoadLanguage(settings);
    const ClipStore::Claim claim = store_.Open(ThisStoreUser());
    switch (claim.outcome) {
    case ClipStore::Claim::Outcome::Ours: return true;
    case ClipStore::Claim::Outcome::FolderMissing:
        // Nothing can be kept without it.
        win::ShowErrorMessage(
            win::Utf8ToWide(TableWord(ChooserTable(), ChooserWords::kFolderMissingBefore, LanguageIndex())) +
            win::AnsiToWide(paths_.exeDir) +
            win::Utf8ToWide(TableWord(ChooserTable(), ChooserWords::kFolderMissingAfter, LanguageIndex())));
        return false;
    case ClipStore::Claim::Outcome::UsedHere:
    case ClipStore::Claim::Outcome::UsedElsewhere: TellStoreInUse(claim); return false;
    }
    return false;
}

// On this computer the running Tessera shows its options window, as a double click on its icon
// would; when it has none yet (still starting), the user is told. On another computer nothing
// can be brought forward: the user is told which computer has the folder.
void Program::TellStoreInUse(const ClipStore::Claim& claim) {
    if (claim.outcome == ClipStore::Claim::Outcome::UsedHere && ShowOptionsOfRunningTessera(claim.user.process)) return;
    if (claim.outcome == ClipStore::Claim::Outcome::UsedHere) {
        win::ShowInformation(win::Utf8ToWide(TableWord(MainFormTable(), MainWords::kAlreadyRunning, LanguageIndex())));
        return;
    }
    // The words are UTF-8, the computer's name ANSI.
    const std::string text = TableWord(MainFormTable(), MainWords::kUsedElsewhere, LanguageIndex());
    const std::size_t at = text.find("%s");
    win::ShowErrorMessage(at == std::string::npos
                              ? win::Utf8ToWide(text)
                              : win::Utf8ToWide(text.substr(0, at)) + win::AnsiToWide(claim.user.computer) +
                                    win::Utf8ToWide(text.substr(at + 2)));
}

void Program::MakeForms() {
    const IndexStartup startup = store_.Load();
    form1_ = std::make_unique<TForm1>(registry_, paths_);
    // An index file that cannot be read is reported; the items were listed from the folder, so
    // none is lost, and start-up goes on.
    if (startup.loadError) win::ShowErrorMessage(win::UserTextToWide(*startup.loadError));
    aboutBox_ = std::make_unique<TAboutBox>(form1_->hwnd());
    // The index file holds display names in the ANSI code page; the search takes UTF-8.
    search_ = std::make_unique<ItemSearch>(store_, [](std::string_view name) { return win::WideToUtf8(win::AnsiToWide(name)); });
    choix_ = std::make_unique<TChoix>(store_, paths_.exeDir, form1_->hwnd(), search_.get());
    {
        ProfileFile settings(paths_.iniFileName);
        if (const std::optional<ChooserSize> size = LoadChooserSize(settings)) choix_->SetUserSize({size->width, size->height});
    }
    commands_ = std::make_unique<HotKeyCommandsWin32>(
        form1_->hwnd(), *choix_, store_, [this](std::string_view id) { return form1_->MultiLang1->GetWord(id); });

    HotKeyCommands& commands = commands_->Commands();
    form1_->OnHotKey = [&commands](int id) { commands.OnHotKey(id); };
    form1_->OnClipboardChange = [&commands] { commands.OnClipboardChange(); };
    form1_->OnClearRequested = [this] { ClearStore(); };
    form1_->OnAbout = [this] { aboutBox_->ShowModal(); };
    form1_->OnHotKeysChosen = [this](const HotKey& copy, const HotKey& paste) { UseHotKeys(copy, paste); };
    form1_->OnKeepEveryCopyChanged = [&commands](bool on) { commands.KeepEveryCopy = on; };
    form1_->OnQuitting = [this] { SaveStore(); };
    form1_->OnSessionEnding = [this] { store_.Flush(); };
    form1_->OnStoreWriteFailed = [this] { ReportStoreWriteFailure(); };
    store_.SetWriteFailureHandler([form = form1_.get()] { form->PostStoreWriteFailed(); });
    choix_->OnClearRequested = [this] { ClearStore(); };
    choix_->OnClosing = [this] {
        SaveChooserSize();
        form1_->SaveSettings();
    };
    commands_->TellUser = [this](const std::wstring& text) { form1_->TellUser(text); };
    commands_->Language = [this] { return LanguageIndex(); };
}

void Program::Start() {
    UseHotKeys(form1_->CurrentSettings().copyHotKey, form1_->CurrentSettings().pasteHotKey);
    form1_->ReportUnreadableSettings();
    // Every form exists: captures may come from now on.
    commands_->Commands().KeepEveryCopy = form1_->CurrentSettings().keepEveryCopy;
    commands_->Commands().CaptureSuppressed = false;
    // The search covers the names at once, and the texts as the cache and the files are read.
    search_->StartBuild(itemFiles_, store_.Files(), paths_.searchCacheFileName, choix_->SearchTextsNotice());
}

void Program::UseHotKeys(const HotKey& copy, const HotKey& paste) {
    HotKeyCommands& commands = commands_->Commands();
    commands.UseHotKeys(copy, paste);
    form1_->ShowHotKeys(commands.HotKeyOf(HotKeyCommands::kCopyHotKey), commands.Active(HotKeyCommands::kCopyHotKey),
                        commands.HotKeyOf(HotKeyCommands::kPasteHotKey), commands.Active(HotKeyCommands::kPasteHotKey));
}

// Files that cannot be deleted (held open by another program, read-only) stay items and are
// named to the user in place of the message that the store is empty.
void Program::ClearStore() {
    TMultiLang& words = *form1_->MultiLang1;
    if (!win::AskConfirmation(win::Utf8ToWide(words.GetWord(MainWords::kConfirmClear)), win::DefaultAnswer::No)) return;
    const std::vector<std::string> kept = store_.Clear();
    choix_->ClearList();
    win::EmptySystemClipboard(form1_->hwnd());
    if (kept.empty()) {
        win::ShowInformation(win::Utf8ToWide(words.GetWord(MainWords::kStoreCleared)));
        return;
    }
    std::wstring text = win::Utf8ToWide(words.GetWord(MainWords::kNotDeleted));
    for (const std::string& path : kept) text += L"\n" + win::AnsiToWide(path);
    win::ShowErrorMessage(text);
}

void Program::SaveStore() {
    if (const std::optional<std::string> failure = store_.Flush()) win::ShowErrorMessage(win::AnsiToWide(*failure));
}

// A size that cannot be written is lost without a word: the chooser opens at its designed size.
void Program::SaveChooserSize() {
    ProfileFile settings(paths_.iniFileName);
    const SIZE size = choix_->UserSize();
    tessera::SaveChooserSize(settings, {size.cx, size.cy});
}

void Program::ReportStoreWriteFailure() {
    if (const std::optional<std::string> failure = store_.TakeWriteFailure())
        win::ShowErrorMessage(win::AnsiToWide(*failure));
}

}  // namespace tessera
