#pragma once
// The clear command's work on the store: the item files and the clip index.
#include <string>

#include "store/clip_index.h"
#include "store/file_system.h"

namespace tessera {

// Deletes the files of rows 0..itemCount-1 (when `storeDir` exists; failures ignored), then
// leaves `index` as the empty index: one row, no text.
void ClearStore(FileSystem& fs, const std::string& storeDir, ClipIndex& index, int itemCount);

}  // namespace tessera
