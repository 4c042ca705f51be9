#pragma once
// TChoix, the paste chooser. For now it holds what the rest of the program needs of it: the clip
// index (`grid`), the list of display names (`ListBox1`), and its creation at start-up.
#include <string>
#include <vector>

#include "store/clip_index.h"
#include "store/file_system.h"

namespace tessera {

// Thrown when start-up cannot go on (the message has been shown); the program then ends.
struct StartupAborted {};

class TChoix {
public:
    TChoix(FileSystem& fs, std::string exeDir, std::string indexFileName);

    ClipIndex grid;
    std::vector<std::string> ListBox1;
    int ItemIndex = -1;  // the selected line of ListBox1, -1 for none

    // A new last line, selected.
    void AddAndSelect(const std::string& displayName);
    // Empties the list (the clear command).
    void ClearList();

private:
    void FormCreate();

    FileSystem& fs_;
    std::string exeDir_;
    std::string indexFileName_;
};

}  // namespace tessera
