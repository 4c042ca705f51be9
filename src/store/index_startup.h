#pragma once
// Filling the clip index when the program starts.
#include <optional>
#include <string>
#include <vector>

#include "store/clip_index.h"
#include "store/file_system.h"

namespace tessera {

struct IndexStartup {
    // Plain files of the store folder, sorted by name without regard to case, when the index was
    // rebuilt from them; empty when the index file was read.
    std::vector<std::string> files;
    // Set when an index file exists but could not be read: the text to show the user.
    std::optional<std::string> loadError;
};

// Loads the index file into `index` when it exists, else rebuilds the index from the store's
// files: one item per file, named after the file without its extension.
IndexStartup LoadIndexAtStart(FileSystem& fs, const std::string& indexPath, const std::string& storeDir,
                              ClipIndex& index);

// Appends one item per file, in order, named after the file without its extension.
void RebuildIndexFromFiles(const std::vector<std::string>& files, ClipIndex& index);

// `files` sorted by name, letter case ignored (a to z only, as the program compares names).
void SortNamesIgnoringCase(std::vector<std::string>& files);
// The plain store file names among `plainFiles` that none of `named` names (letter case ignored),
// in the order of their numbers: the files a crash or a hand put in the store.
std::vector<std::string> UnnamedFiles(std::vector<std::string> plainFiles, const std::vector<std::string>& named);

// `files` in the order of their items' numbers ("Texte_012.txt" is 12), in capture order for the
// program's own names; names of the same number or without one follow by name, case ignored.
void SortByItemNumber(std::vector<std::string>& files);

}  // namespace tessera
