#include "commands/paste_chooser_win32.h"

#include "app/forms_win32.h"
#include "app/main_form_win32.h"
#include "store/index_startup.h"
#include "win/message_boxes.h"
#include "win/text.h"

namespace tessera {

TChoix::TChoix(FileSystem& fs, std::string exeDir, std::string indexFileName)
    : fs_(fs), exeDir_(std::move(exeDir)), indexFileName_(std::move(indexFileName)) {
    FormCreate();
}

void TChoix::FormCreate() {
    const std::string storeDir = exeDir_ + "Clipboard";
    if (!fs_.DirectoryExists(storeDir)) {
        win::ShowErrorMessage(win::Utf8ToWide("Répertoire \"") + win::AnsiToWide(exeDir_) +
                              win::Utf8ToWide("Clipboard\" introuvable."));
        throw StartupAborted{};
    }
    const IndexStartup startup = LoadIndexAtStart(fs_, indexFileName_, storeDir, grid);
    if (startup.loadError) win::ShowErrorMessage(win::UserTextToWide(*startup.loadError));

    // Until the first showing rebuilds it from the index, the list has one line per file found.
    ListBox1.clear();
    for (size_t i = 0; i < startup.files.size(); ++i) ListBox1.push_back(grid.GetCell(0, static_cast<int>(i)));

    if (Form1) Form1->CaptureSuppressed = false;
}

void TChoix::AddAndSelect(const std::string& displayName) {
    ListBox1.push_back(displayName);
    ItemIndex = static_cast<int>(ListBox1.size()) - 1;
}

void TChoix::ClearList() {
    ListBox1.clear();
    ItemIndex = -1;
}

}  // namespace tessera
